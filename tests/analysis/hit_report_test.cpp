#include "analysis/hit_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "position/text_encoding.h"

namespace nusari {
namespace {

std::tm december7() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 13;
    t.tm_min = 52;
    t.tm_sec = 10;
    return t;
}

std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(HitReport, WholeTextOfAFixedRunByteForByte) {
    HitStats stats;
    stats.games = 3;
    stats.positions = 4;
    stats.hits[0] = 2;
    stats.hits[3] = 1;
    stats.misses = 1;
    stats.score = 203;
    const auto dir = std::filesystem::temp_directory_path() / "nusari_report_test";
    std::filesystem::remove_all(dir);
    const std::string path = hitReportPath(dir.string(), december7());
    EXPECT_EQ(path, dir.string() + "/output/analysis/hitOrder20261207_135210.html");
    ASSERT_TRUE(writeHitReport(path, hitReportText(stats, toCp932("標準"), december7())));
    EXPECT_EQ(readBytes(path), readBytes(NUSARI_TEST_DIR "/expected_hit_report.html"));
    std::filesystem::remove_all(dir);
}

TEST(HitReport, NoPositionsGivesTheSummaryOnly) {
    HitStats stats;
    stats.games = 2;
    const std::string text = hitReportText(stats, "x", december7());
    EXPECT_NE(text.find("<tr><td>評価点/教師局面数</td><td>0.00</td>\n</table>\n<hr>date :2026/12/07"),
              std::string::npos);
    EXPECT_EQ(text.find("hit位置の詳細"), std::string::npos);
}

TEST(HitReport, AnUnwritablePlaceFailsWithoutAFile) {
    EXPECT_FALSE(writeHitReport("/proc/nusari/report.html", "x"));
}

}  // namespace
}  // namespace nusari
