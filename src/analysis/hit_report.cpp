#include "analysis/hit_report.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "position/text_encoding.h"
#include "records/record_files.h"

namespace nusari {

namespace {

// Two decimals with "." whatever the locale: to_chars never looks at it.
std::string twoDecimals(double v) {
    char buffer[400];  // room for any double in fixed notation
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0.00");
}

std::string formatTime(const std::tm& when, const char* pattern) {
    char buffer[64];
    return std::strftime(buffer, sizeof buffer, pattern, &when) > 0 ? buffer : "";
}

// A share in percent: the product in 32-bit integers, the division in floating point.
std::string percent(int32_t count, int32_t positions) {
    const int32_t scaled = count * 100;
    return twoDecimals(static_cast<double>(scaled) / static_cast<double>(positions));
}

}  // namespace

std::string hitReportText(const HitStats& stats, const std::string& namaeCp932, const std::tm& when) {
    std::string t;
    t += "<html>\n<head>\n<meta charset=\"Shift_JIS\">\n";
    t += "<title>ぬさり将棋 |hit位置によるAIKの評価分析</title>\n";
    t += "<style type=\"text/css\">\n";
    t += "body  {font-size:9.pt; background-color:#eeffdd; margin-top: 20px; margin-left: 16px;}\n";
    t += "table {border-style:solid; border-width:1px; border-color:#aaaaaa; "
         "border-collapse:collapse; font-size:9.pt;}\n";
    t += "td    {border-style:solid; border-width:1px; border-color:#dddddd; "
         "background-color:#ffffff; text-align:right; padding:2pt; padding-left:16pt;}\n";
    t += "</style>\n</head>\n<body>\n<h1>hit位置によるAIKの評価分析</h1>\n<h2>サマリー情報</h2>\n<table>\n";
    t += "<tr><td>評価対象</td><td>" + toUtf8(namaeCp932) + "</td>\n";
    t += "<tr><td>評価点</td><td>" + std::to_string(stats.score) + "</td>\n";
    t += "<tr><td>教師棋譜数</td><td>" + std::to_string(stats.games) + "</td>\n";
    t += "<tr><td>教師局面数</td><td>" + std::to_string(stats.positions) + "</td>\n";
    const std::string average =
        stats.positions > 0
            ? twoDecimals(static_cast<double>(stats.score) / static_cast<double>(stats.positions))
            : "0.00";
    t += "<tr><td>評価点/教師局面数</td><td>" + average + "</td>\n";
    t += "</table>\n";
    if (stats.positions > 0) {
        t += "<h2>hit位置の詳細</h2>\n<table>\n<tr><td>hit位置</td><td>hit回数</td><td>hit割合</td></tr>\n";
        for (int32_t k = 0; k < kHitRanks; ++k) {
            t += "<tr><td>" + std::to_string(k) + "</td><td>" + std::to_string(stats.hits[k]) +
                 "</td><td>" + percent(stats.hits[k], stats.positions) + "%</td></tr>\n";
        }
        t += "<tr><td>--</td><td>" + std::to_string(stats.misses) + "</td><td>" +
             percent(stats.misses, stats.positions) + "%</td></tr>\n";
        t += "</table>\n";
    }
    t += "<hr>date :" + formatTime(when, "%Y/%m/%d") + "<br>\n";
    t += "maker :NusarSyougi  Ver" + std::to_string(91) + "<br>\n";
    t += "</body></html>\n";
    return t;
}

std::string hitReportPath(const std::string& programFolder, const std::tm& when) {
    return programFolder + "/output/analysis/hitOrder" + formatTime(when, "%Y%m%d_%H%M%S") + ".html";
}

bool writeHitReport(const std::string& path, const std::string& utf8Text) {
    std::string bytes;
    for (const char c : toCp932(utf8Text)) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return writeFileReplacing(path, bytes);
}

}  // namespace nusari
