// Both grammars on random and mutated files: never a write outside the
// squares or the history, and every result can be written again.
#include <gtest/gtest.h>

#include <random>

#include "records/csa_writer.h"
#include "records/load_record.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

constexpr const char* kCsaSeed =
    "'-----------------csa-----------------\nV2\nN+先手\nN-後手\n$START_TIME:2024/01/01 10:00:00\n"
    "P1-KY-KE-GI-KI-OU-KI-GI-KE-KY\nP2 * -HI *  *  *  *  * -KA * \nP+00FU00KI\nP-00HI\n+\n"
    "+7776FU\nT3\n-3334FU,T5\n+8822UM\n-3122GI\n+0055KA\nT12\n-0044HI\n%TORYO\n";

constexpr const char* kKifSeed =
    "開始日時：2024/01/01\n手合割：飛車落ち\n先手：上手\n後手：下手\n後手の持駒：歩十二　角\n"
    "先手の持駒：なし\n|v香v桂v銀v金v玉v金v銀v桂v香|一\n| ・v飛 ・ ・ ・ ・ ・v角 ・|二\n"
    "手数----指手---------消費時間--\n   1 ７六歩(77)   ( 0:01/00:00:01)\n   2 同　歩(73)\n"
    "   3 ５五角打\n   4 ５二成銀(43)\n   5 ７三歩成(74)\n   6 ７六銀不成(67)\n*comment\n"
    "   7 ２二竜(28)\nまで7手で先手の勝ち\n";

// Bytes that matter to the grammars, to make random files reach deep.
constexpr std::string_view kCsaAlphabet = "+-0123456789PNTV$%'\n\r *FUKYEGIOHARMTNG,";

class Fuzzer {
  public:
    std::mt19937 random{20240601};

    std::size_t below(std::size_t n) { return n == 0 ? 0 : random() % n; }

    std::string randomBytes(std::size_t maxLength, std::string_view alphabet) {
        std::string s(below(maxLength + 1), '\0');
        for (char& c : s) {
            c = alphabet.empty() ? static_cast<char>(random() & 255)
                                 : alphabet[below(alphabet.size())];
        }
        return s;
    }

    // A few random edits: changed, inserted or removed bytes, a repeated or
    // dropped piece, a cut end.
    std::string mutate(std::string s, std::string_view pool) {
        const int edits = 1 + static_cast<int>(below(8));
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = below(s.size() + 1);
            switch (below(6)) {
                case 0:
                    if (at < s.size()) s[at] = static_cast<char>(random() & 255);
                    break;
                case 1:
                    s.insert(at, 1, pool[below(pool.size())]);
                    break;
                case 2:
                    if (at < s.size()) s.erase(at, 1 + below(4));
                    break;
                case 3:
                    s.insert(at, s.substr(below(s.size() + 1), below(40)));
                    break;
                case 4:
                    s.erase(std::min(at, s.size()), below(40));
                    break;
                default:
                    s.resize(at);
                    break;
            }
        }
        return s;
    }
};

// The cells outside the 81 squares and the hands keep the wall value.
void expectSound(const GameRecord& record, int32_t plies) {
    ASSERT_GE(plies, 0);
    ASSERT_LE(plies, kMaxRecordPlies);
    for (int32_t n = 0; n <= plies; ++n) {
        const Position& p = record.history[n];
        for (int32_t i = 0; i <= 110; ++i) {
            if (isSquare(i)) {
                ASSERT_TRUE(p[i] == kEmpty || isValidPieceCode(p[i]))
                    << n << " " << i << " " << p[i];
            } else {
                ASSERT_EQ(p[i], kOffBoard) << n << " " << i;
            }
        }
    }
}

// Reads `bytes` with both grammars into the same record and writes the
// result as CSA, which must read back.
void readBoth(GameRecord& record, const std::string& bytes) {
    for (const bool csa : {true, false}) {
        setupPosition(record.history[0], kPresetEven);
        TextInput in(bytes);
        const ReadOutcome outcome = csa ? ReadCsa(in, record) : ReadKif(in, record);
        expectSound(record, outcome.plies);
        record.length = outcome.plies;
        const std::string written = FormatCsa(record);
        setupPosition(record.history[0], kPresetEven);
        TextInput again(written);
        const ReadOutcome reread = ReadCsa(again, record);
        expectSound(record, reread.plies);
    }
}

TEST(RecordFuzz, RandomFiles) {
    Fuzzer f;
    auto record = std::make_unique<GameRecord>();
    const std::string kifAlphabet =
        cp932("同１２３４５六七八九十玉飛角金銀桂香歩成龍馬打全圭杏と竜不王・") +
        "|v() 0123456789*\n\r";
    const std::string table = cp932("手数----指手---------消費時間--\n");
    for (int i = 0; i < 1000; ++i) {
        readBoth(*record, f.randomBytes(400, {}));
        readBoth(*record, f.randomBytes(400, kCsaAlphabet));
        readBoth(*record, table + f.randomBytes(400, kifAlphabet));
        // Diagram rows and hand lines of random kanji.
        std::string row = "|";
        row += f.randomBytes(40, kifAlphabet);
        readBoth(*record, row);
        readBoth(*record, cp932("後手の持駒：") + f.randomBytes(60, kifAlphabet));
        if (HasFatalFailure()) return;
    }
}

TEST(RecordFuzz, MutatedFiles) {
    Fuzzer f;
    auto record = std::make_unique<GameRecord>();
    const std::string seeds[] = {cp932(kCsaSeed), cp932(kKifSeed)};
    for (int i = 0; i < 3000; ++i) {
        const std::string& seed = seeds[i % 2];
        readBoth(*record, f.mutate(seed, seed));
        if (HasFatalFailure()) return;
    }
}

// Through LoadRecord and files, including files larger than
// the reader's buffer.
TEST(RecordFuzz, MutatedFilesThroughLoadRecord) {
    Fuzzer f;
    TempFolder folder;
    auto record = std::make_unique<GameRecord>();
    FakeUi ui;
    const std::string seeds[] = {cp932(kCsaSeed), cp932(kKifSeed)};
    for (int i = 0; i < 300; ++i) {
        const bool csa = i % 2 == 0;
        std::string bytes = f.mutate(seeds[i % 2], seeds[i % 2]);
        if (i % 50 == 0) {
            while (bytes.size() < 70000) bytes += f.mutate(seeds[i % 2], seeds[i % 2]);
        }
        const std::string path = folder.writeBytes(csa ? "f.csa" : "f.kif", bytes);
        const LoadOutcome outcome = LoadRecord(*record, path, ui);
        expectSound(*record, record->length);
        if (!outcome.ok) {
            EXPECT_EQ(record->length, 0);
        }
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace nusari::test
