// LoadBook: the 101-byte records of a .jsk file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "aik/book_loader.h"
#include "aik_test_support.h"
#include "position/types.h"

namespace nusari::test {
namespace {

// A file record: move bytes, an empty board and empty hands.
struct FileRecord {
    uint8_t byte[kBookFileRecordBytes];

    FileRecord(uint8_t from, uint8_t to) {
        for (uint8_t& b : byte) b = 0;
        byte[0] = from;
        byte[1] = to;
        for (int i = 6; i < 87; ++i) byte[i] = 128;
    }
    uint8_t& square(int file, int rank) { return byte[6 + (file - 1) * 9 + (rank - 1)]; }
    uint8_t& lowerHand(int kind) { return byte[86 + kind]; }
    uint8_t& upperHand(int kind) { return byte[93 + kind]; }
    std::string bytes() const { return std::string(reinterpret_cast<const char*>(byte), sizeof byte); }
};

TEST(LoadBook, RecordBytesLandOnPositionSlots) {
    TempFolder folder;
    FileRecord r(55, 153);
    r.byte[2] = 9;  // stored, unused
    r.byte[3] = 1;  // message number 0x010203
    r.byte[4] = 2;
    r.byte[5] = 3;
    r.square(5, 5) = kLowerRook;   // attacks 54 and 53
    r.square(5, 3) = kUpperGold;   // the piece taken
    r.square(4, 2) = kUpperSilver; // defends 53
    r.square(9, 9) = kLowerKing;
    r.lowerHand(7) = 2;
    r.upperHand(1) = 1;
    auto book = std::make_unique<BookTable>();
    ASSERT_EQ(LoadBook(*book, folder.writeBytes("b.jsk", r.bytes())), 0);
    const BookRecord& b = book->record[0];
    EXPECT_EQ(b.byte[1], 55);
    EXPECT_EQ(b.byte[2], 153);
    EXPECT_EQ(b.byte[3], 9);
    EXPECT_EQ(b.byte[4] * 65536 + b.byte[5] * 256 + b.byte[6], 0x010203);
    EXPECT_EQ(b.byte[kBookLowerCountByte], 1);
    EXPECT_EQ(b.byte[kBookUpperCountByte], 1);
    EXPECT_EQ(b.byte[55], kLowerRook);
    EXPECT_EQ(b.byte[53], kUpperGold);
    EXPECT_EQ(b.byte[42], kUpperSilver);
    EXPECT_EQ(b.byte[99], kLowerKing);
    EXPECT_EQ(b.byte[11], 128);
    EXPECT_EQ(b.byte[118], 2);
    EXPECT_EQ(b.byte[120], 1);
    EXPECT_EQ(b.byte[117], 0);
    EXPECT_EQ(book->count(), 1);
    EXPECT_TRUE(book->isFree(1));
}

TEST(LoadBook, ShortRecordsArePaddedAndEndTheBook) {
    TempFolder folder;
    auto book = std::make_unique<BookTable>();
    const FileRecord r(77, 76);
    const std::string two = r.bytes() + r.bytes();
    ASSERT_EQ(LoadBook(*book, folder.writeBytes("two.jsk", two)), 0);
    EXPECT_EQ(book->count(), 2);
    EXPECT_TRUE(book->isFree(2));

    ASSERT_EQ(LoadBook(*book, folder.writeBytes("cut.jsk", r.bytes() + r.bytes().substr(0, 49))), 0);
    EXPECT_EQ(book->count(), 2);
    const BookRecord& cut = book->record[1];
    EXPECT_EQ(cut.byte[1], 77);
    EXPECT_EQ(cut.byte[57], 128);  // from file byte 48, the last one present
    EXPECT_EQ(cut.byte[58], 255);
    EXPECT_EQ(cut.byte[99], 255);
    EXPECT_EQ(cut.byte[118], 255);
    EXPECT_EQ(cut.byte[126], 255);

    ASSERT_EQ(LoadBook(*book, folder.writeBytes("one.jsk", std::string(1, '\x0b'))), 0);
    EXPECT_EQ(book->count(), 1);
    EXPECT_EQ(book->record[0].byte[1], 11);
    EXPECT_EQ(book->record[0].byte[11], 255);
}

TEST(LoadBook, EmptyMissingAndOversizedFiles) {
    TempFolder folder;
    auto book = std::make_unique<BookTable>();
    ASSERT_EQ(LoadBook(*book, folder.writeBytes("r.jsk", FileRecord(1, 2).bytes())), 0);
    ASSERT_EQ(LoadBook(*book, folder.writeBytes("empty.jsk", "")), 0);
    EXPECT_EQ(book->count(), 0);

    ASSERT_EQ(LoadBook(*book, folder.writeBytes("r.jsk", FileRecord(1, 2).bytes())), 0);
    EXPECT_EQ(LoadBook(*book, (folder.path() / "missing.jsk").string()), -1);
    EXPECT_EQ(book->count(), 0);
    ASSERT_EQ(LoadBook(*book, folder.writeBytes("r.jsk", FileRecord(1, 2).bytes())), 0);
    EXPECT_EQ(LoadBook(*book, folder.path().string()), kBookNotRegularFile);
    EXPECT_EQ(book->count(), 0);

    std::string many;
    for (int i = 0; i < kBookCapacity + 5; ++i) many += FileRecord(1, static_cast<uint8_t>(i)).bytes();
    ASSERT_EQ(LoadBook(*book, folder.writeBytes("many.jsk", many)), 0);
    EXPECT_EQ(book->count(), kBookCapacity);
}

TEST(LoadBook, FifosAndDevicesAreRefusedWithoutWaiting) {
    TempFolder folder;
    auto book = std::make_unique<BookTable>();
    ASSERT_EQ(::mkfifo((folder.path() / "f.jsk").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder.path() / "zero.jsk");
    for (const char* name : {"f.jsk", "zero.jsk"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(LoadBook(*book, folder.writeBytes("r.jsk", FileRecord(1, 2).bytes())), 0);
        EXPECT_EQ(LoadBook(*book, (folder.path() / name).string()), kBookNotRegularFile);
        EXPECT_EQ(book->count(), 0);
    }
}

TEST(LoadBook, FreeMarkOnSquare11EndsTheBookForReaders) {
    TempFolder folder;
    auto book = std::make_unique<BookTable>();
    FileRecord marked(1, 2);
    marked.square(1, 1) = kFreeRecordMark;
    const std::string file = FileRecord(1, 2).bytes() + marked.bytes() + FileRecord(1, 2).bytes();
    ASSERT_EQ(LoadBook(*book, folder.writeBytes("m.jsk", file)), 0);
    EXPECT_EQ(book->count(), 1);
}

TEST(LoadBook, JunkBoardBytesAreKept) {
    TempFolder folder;
    auto book = std::make_unique<BookTable>();
    FileRecord r(200, 255);  // destination 255 % 100 = 55
    for (int i = 6; i < 87; ++i) r.byte[i] = static_cast<uint8_t>(i * 37);
    r.square(1, 1) = 3;
    r.square(5, 6) = kLowerPawn;  // attacks 55
    ASSERT_EQ(LoadBook(*book, folder.writeBytes("j.jsk", r.bytes())), 0);
    EXPECT_EQ(book->count(), 1);
    EXPECT_GE(book->record[0].byte[kBookLowerCountByte], 1);
}

TEST(LoadAikBook, LaterZyousekiRestartsTheTable) {
    LoadFixture f;
    const std::string rec = FileRecord(1, 2).bytes();
    f.folder.writeBytes("three.jsk", rec + rec + rec);
    f.folder.writeBytes("one.jsk", rec);
    ASSERT_EQ(f.load("zyouseki=three\n"), 1);
    EXPECT_EQ(f.state->bookTable.count(), 3);
    ASSERT_EQ(f.load("zyouseki=three\nzyouseki=one\n"), 1);
    EXPECT_EQ(f.state->bookTable.count(), 1);
    ASSERT_EQ(f.load("hukasa=3\n"), 1);  // no book key: the book stays
    EXPECT_EQ(f.state->bookTable.count(), 1);
    EXPECT_EQ(f.state->profile.zyouseki, "one");
}

TEST(LoadAikBook, BookIsFoundInASubFolderOfTheAikFile) {
    LoadFixture f;
    f.folder.writeBytes("sub/x.jsk", FileRecord(1, 2).bytes());
    FakeUi ui;
    const std::string aik = writeText(f.folder, "sub/e.aik", "zyouseki=x\n");
    ASSERT_EQ(LoadAik(*f.state, aik, ui), 1);
    EXPECT_EQ(f.state->bookTable.count(), 1);
}

// A book past the table's capacity is cut there; the engine loads, and the
// user is told how much was read, without the error sound. A full table is
// no cut.
TEST(LoadAikBook, ABookCutToTheTableIsAWarningNotAnError) {
    const std::string rec = FileRecord(1, 2).bytes();
    struct Case {
        int64_t records;
        bool cut;
    };
    for (const Case c : {Case{kBookCapacity, false}, Case{kBookCapacity + 5, true}}) {
        SCOPED_TRACE(c.records);
        LoadFixture f;
        std::string bytes;
        for (int64_t i = 0; i < c.records; ++i) bytes += rec;
        const std::string book = f.folder.writeBytes("big.jsk", bytes + rec.substr(0, c.cut ? 9 : 0));
        ASSERT_EQ(f.load("zyouseki=big\n"), 1);
        EXPECT_EQ(f.state->bookTable.count(), kBookCapacity);
        const std::vector<std::string> shown =
            c.cut ? std::vector<std::string>{"notify:" + BookCutWarning(kBookCapacity, c.records + 1, book)}
                  : std::vector<std::string>{};
        EXPECT_EQ(f.ui.events, shown);
    }
    EXPECT_EQ(BookCutWarning(10000, 12000, "/b.jsk"),
              "定跡ファイルの局面が多すぎます：12000局面のうち先頭の10000局面だけを読みました：/b.jsk");
}

}  // namespace
}  // namespace nusari::test
