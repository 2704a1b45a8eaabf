#include "usi/usi_option.h"

#include <algorithm>
#include <charconv>

#include "usi/joined_text.h"
#include "usi/words_of.h"

namespace nusari {

namespace {

constexpr std::string_view kKeywords[] = {"name", "type", "default", "min", "max", "var"};
constexpr std::string_view kTypes[] = {"spin", "check", "combo", "string", "button", "filename"};
constexpr size_t kMaxTextBytes = 1000;
constexpr size_t kMaxChoices = 200;

bool isKeyword(std::string_view word) {
    return std::find(std::begin(kKeywords), std::end(kKeywords), word) != std::end(kKeywords);
}

bool readNumber(std::string_view word, int64_t& value) {
    if (!word.empty() && word[0] == '+') word.remove_prefix(1);
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

bool singleLine(std::string_view text) {
    return text.size() <= kMaxTextBytes && text.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

bool parseUsiOption(std::string_view line, UsiOption& option) {
    std::vector<std::string_view> words = wordsOf(line);
    if (!words.empty() && words[0] == "option") words.erase(words.begin());
    UsiOption read;
    bool hasDefault = false;
    size_t i = 0;
    while (i < words.size()) {
        const std::string_view key = words[i++];
        // The value of a keyword: the words up to the next keyword, joined
        // by single blanks ("<empty>" stands for an empty string).
        std::string text;
        while (i < words.size() && !isKeyword(words[i])) {
            if (!text.empty()) text += ' ';
            text += words[i++];
        }
        if (text.size() > kMaxTextBytes) return false;
        if (key == "name") {
            read.name = text;
        } else if (key == "type") {
            read.type = text;
        } else if (key == "default") {
            read.defaultValue = text == "<empty>" ? std::string() : text;
            hasDefault = true;
        } else if (key == "min" || key == "max") {
            int64_t v = 0;
            if (!readNumber(text, v)) return false;
            (key == "min" ? read.min : read.max) = v;
        } else if (key == "var") {
            if (read.choices.size() >= kMaxChoices) return false;
            read.choices.push_back(text);
        } else {
            return false;
        }
    }
    if (read.name.empty()) return false;
    if (std::find(std::begin(kTypes), std::end(kTypes), read.type) == std::end(kTypes)) return false;
    if (!hasDefault && read.type == "check") read.defaultValue = "false";
    if (read.type == "spin" && read.max < read.min) return false;
    read.value = read.defaultValue;
    option = std::move(read);
    return true;
}

std::string usiOptionText(const UsiOption& option) {
    std::string text = joined({"name ", option.name, " type ", option.type});
    if (option.type != "button") {
        text += " default ";
        text += option.defaultValue.empty() ? "<empty>" : option.defaultValue;
    }
    if (option.type == "spin") {
        text += joined({" min ", std::to_string(option.min), " max ", std::to_string(option.max)});
    }
    for (const std::string& choice : option.choices) text += joined({" var ", choice});
    return text;
}

bool usiOptionAccepts(const UsiOption& option, std::string_view value) {
    if (option.type == "spin") {
        int64_t v = 0;
        return readNumber(value, v) && v >= option.min && v <= option.max;
    }
    if (option.type == "check") return value == "true" || value == "false";
    if (option.type == "combo") {
        return std::find(option.choices.begin(), option.choices.end(), value) != option.choices.end();
    }
    if (option.type == "string" || option.type == "filename") return singleLine(value);
    return false;
}

std::string setOptionLine(const UsiOption& option) {
    if (!usiOptionAccepts(option, option.value)) return {};
    const std::string value = option.value.empty() ? "<empty>" : option.value;
    return joined({"setoption name ", option.name, " value ", value});
}

}  // namespace nusari
