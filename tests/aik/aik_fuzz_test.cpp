// Random and mutated .aik and .jsk files: the loader must stay inside every
// table and keep the state usable whatever the bytes are. Deterministic seed.
#include <gtest/gtest.h>

#include <random>

#include "aik/book_loader.h"
#include "aik_test_support.h"

namespace nusari::test {
namespace {

// A valid file touching every kind of line.
std::string seedFile() {
    std::string s =
        "' seed\nver=0.0.2\nnamae=seed\nzyouseki=book\nhukasa=40\nhaba=20\n"
        "yudou_kati[]=40,30,20,10\ndoute_kati[]=10, 5\ndoute_hukasa[]=5, 7\n"
        "pasu_kati=5\noute_kati=9\nhitu_hukasa=30\noute_hukasa=5\nsute_hukasa=12\n"
        "zyoukyou_pl=2\nzyoukyou_pl_max=20\nransuu_ti=10\nedakari_pasu=10\n"
        "edakari_hyouka=32\nedakari_hiyuusen=5\n";
    s += setBlock(7) + setBlock(0) + setBlock(8);
    s += "find koma[0]\nadd koma[3][point(1,-1)] 50\nmultiply koma[39][point(0,-2)] -2\n"
         "add koma[4][point(-1,0)] 30\nadd koma[2][] 4\n}\n";
    return s;
}

const std::string_view kTokens[] = {
    "[", "]", ",", "\n", "\r\n", " ", "}", "-", "+", "point(", ")", "999", "1234", "koma[", "'",
    "=", "\t", "set koma[7]\n", "find koma[3]\n", "add koma[", "\xff", std::string_view("\0", 1)};

// Builds a new string rather than inserting in place (GCC 12 warns falsely there).
std::string spliced(const std::string& s, std::size_t at, std::string_view piece) {
    return s.substr(0, at) + std::string(piece) + s.substr(at);
}

std::string mutate(std::string s, std::mt19937& rng) {
    const int steps = 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < steps; ++i) {
        const std::size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 8) {
            case 6:
            case 7:  // a number changed: keeps the structure, reaches deeper
                if (at < s.size() && s[at] >= '0' && s[at] <= '9') s[at] = "0123456789-"[rng() % 11];
                break;
            case 0:
                if (at < s.size()) s[at] = static_cast<char>(rng() % 256);
                break;
            case 1: s = spliced(s, at, std::string(1, static_cast<char>(rng() % 256))); break;
            case 2: s = spliced(s, at, kTokens[rng() % std::size(kTokens)]); break;
            case 3: s.erase(at, rng() % 40); break;
            case 4: s.resize(at); break;
            default: {
                const std::size_t from = s.empty() ? 0 : rng() % s.size();
                s = spliced(s, at, s.substr(from, rng() % 300));
            }
        }
    }
    return s;
}

std::string randomBytes(std::mt19937& rng, std::size_t maxLength) {
    std::string s(rng() % (maxLength + 1), '\0');
    for (char& c : s) c = static_cast<char>(rng() % 256);
    return s;
}

// Everything later stages rely on, whatever the file held.
void expectUsableState(const EngineState& s) {
    const AikProfile& p = s.profile;
    EXPECT_GE(p.haba, 1);
    EXPECT_LE(p.haba, 100);
    EXPECT_GE(p.edakari_hyouka, 1);
    EXPECT_GE(p.hitu_hukasa, 0);
    EXPECT_LE(p.namae.size(), 18u);
    EXPECT_LE(p.zyouseki.size(), 127u);
    for (int32_t t = 0; t < kRuleTableCount; ++t) {
        int32_t i = 0;
        for (; i < kRuleTableSize && s.findRuleTables.table[t][i].piece != -1; ++i) {
            const FindRule& r = s.findRuleTables.table[t][i];
            ASSERT_TRUE(r.dx >= -90 && r.dx <= 90 && r.dx % 10 == 0) << t;
            ASSERT_TRUE(r.dy >= -9 && r.dy <= 9) << t;
            ASSERT_TRUE(r.op == kRuleAdd || r.op == kRuleMultiply) << t;
            ASSERT_TRUE(r.value >= -999 && r.value <= 999) << t;
            ASSERT_TRUE(r.piece >= 0 && r.piece < 48 && (r.piece & 15) != 11) << t;
        }
        ASSERT_LT(i, kRuleTableSize) << "table " << t << " not terminated";
        ASSERT_EQ(s.findRuleTables.table[t][i].first, 1);
    }
    EXPECT_LE(s.bookTable.count(), kBookCapacity);
}

TEST(AikFuzz, MutatedAndRandomFilesAreSafe) {
    LoadFixture f;
    std::mt19937 rng(20240611u);
    std::string book;
    for (int i = 0; i < 3; ++i) book += randomBytes(rng, 101);
    f.folder.writeBytes("book.jsk", book);
    const std::string seed = seedFile();
    ASSERT_EQ(f.load(seed), 1);
    int loaded = 0;
    for (int round = 0; round < 2000; ++round) {
        const std::string text = round % 4 == 3 ? randomBytes(rng, 700) : mutate(seed, rng);
        const std::string path = f.folder.writeBytes("fuzz.aik", text);
        const std::size_t before = f.ui.messages.size();
        const int32_t result = LoadAik(*f.state, path, f.ui);
        ASSERT_TRUE(result == 1 || result == -1);
        EXPECT_EQ(f.ui.messages.size(), before + (result == -1 ? 1u : 0u));
        if (result == 1) ++loaded;
        expectUsableState(*f.state);
        if (HasFatalFailure()) return;
    }
    // The mutations must exercise both outcomes.
    EXPECT_GT(loaded, 100) << loaded;
    EXPECT_LT(loaded, 1900);
}

TEST(AikFuzz, RandomBookFilesAreSafe) {
    TempFolder folder;
    auto book = std::make_unique<BookTable>();
    std::mt19937 rng(7u);
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = randomBytes(rng, 1200);
        ASSERT_EQ(LoadBook(*book, folder.writeBytes("r.jsk", bytes)), 0);
        const int32_t records =
            static_cast<int32_t>((bytes.size() + kBookFileRecordBytes - 1) / kBookFileRecordBytes);
        EXPECT_LE(book->count(), records);
        for (int32_t i = 0; i < book->count(); ++i) {
            EXPECT_EQ(book->record[i].byte[kBookFromByte],
                      static_cast<uint8_t>(bytes[static_cast<std::size_t>(i) * 101]));
        }
    }
}

}  // namespace
}  // namespace nusari::test
