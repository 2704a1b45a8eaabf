#include "analysis/hit_report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "position/text_encoding.h"
#include "support/temp_folder.h"

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
    const test::TempFolder folder;
    const std::filesystem::path dir = folder.path() / "program";
    const std::string path = hitReportPath(dir.string(), december7());
    EXPECT_EQ(path, dir.string() + "/output/analysis/hitOrder20261207_135210.html");
    ASSERT_TRUE(writeHitReport(path, hitReportText(stats, toCp932("標準"), december7())));
    EXPECT_EQ(readBytes(path), readBytes(NUSARI_TEST_DIR "/expected_hit_report.html"));
}

TEST(HitReport, NoPositionsGivesTheSummaryOnly) {
    HitStats stats;
    stats.games = 2;
    const std::string text = hitReportText(stats, "x", december7());
    EXPECT_NE(text.find("<tr><td>評価点/教師局面数</td><td>0.00</td>\n</table>\n<hr>date :2026/12/07"),
              std::string::npos);
    EXPECT_EQ(text.find("hit位置の詳細"), std::string::npos);
}

// LC_NUMERIC switched to German (a decimal comma) while it lives, as the
// window's toolkit switches it to the user's locale. When the system has no
// such locale, one is built into a temporary folder.
class CommaLocale {
public:
    CommaLocale() : saved_(std::setlocale(LC_NUMERIC, nullptr)) {
        if (use("de_DE.UTF-8") || use("de_DE.utf8")) return;
        const std::filesystem::path& folder = folder_.emplace().path();
        const std::string build = "localedef -i de_DE -f UTF-8 '" +
                                  (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        if (std::system(build.c_str()) == -1) return;
        ::setenv("LOCPATH", folder.c_str(), 1);
        use("de_DE.UTF-8");
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, saved_.c_str());
        if (folder_) ::unsetenv("LOCPATH");
    }
    bool active() const { return active_; }

private:
    bool use(const char* name) {
        active_ =
            std::setlocale(LC_NUMERIC, name) != nullptr && *std::localeconv()->decimal_point == ',';
        return active_;
    }
    std::string saved_;
    std::optional<test::TempFolder> folder_;
    bool active_ = false;
};

TEST(HitReport, NumbersHaveADotUnderACommaLocale) {
    const CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma";
    HitStats stats;
    stats.games = 1;
    stats.positions = 3;
    stats.hits[0] = 2;
    stats.misses = 1;
    stats.score = 200;
    const std::string text = hitReportText(stats, "x", december7());
    EXPECT_NE(text.find("<td>評価点/教師局面数</td><td>66.67</td>"), std::string::npos);
    EXPECT_NE(text.find("<td>0</td><td>2</td><td>66.67%</td>"), std::string::npos);
    EXPECT_NE(text.find("<td>--</td><td>1</td><td>33.33%</td>"), std::string::npos);
    EXPECT_EQ(text.find(','), std::string::npos);
}

TEST(HitReport, AnUnwritablePlaceFailsWithoutAFile) {
    EXPECT_FALSE(writeHitReport("/proc/nusari/report.html", "x"));
}

}  // namespace
}  // namespace nusari
