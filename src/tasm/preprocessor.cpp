#include "preprocessor.h"

#include "messages.h"
#include "text.h"

#include <algorithm>

namespace tasm {

namespace {

constexpr std::size_t kMaxNesting = 64;

std::size_t nameEnd(std::string_view text, std::size_t at)
{
    while (at < text.size() && isNameChar(text[at]))
        ++at;
    return at;
}

// Length of a quoted string or 'c' constant at `at`, 0 if there is none.
std::size_t literalLength(std::string_view text, std::size_t at)
{
    if (text[at] == '\'' && at + 2 < text.size() && text[at + 2] == '\'')
        return 3;
    if (text[at] != '"')
        return 0;
    std::size_t i = at + 1;
    while (i < text.size() && text[i] != '"')
        i += text[i] == '\\' ? 2 : 1;
    return std::min(i + 1, text.size()) - at;
}

// Splits "(a, b)" at `at`; false when the parenthesis does not close.
bool readArguments(std::string_view text, std::size_t at, std::vector<std::string_view>& arguments,
                   std::size_t& end)
{
    int depth = 0;
    std::size_t start = at + 1;
    for (std::size_t i = at; i < text.size(); ++i) {
        if (std::size_t literal = literalLength(text, i)) {
            i += literal - 1;
            continue;
        }
        char c = text[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            arguments.push_back(trim(text.substr(start, i - start)));
            end = i + 1;
            return true;
        } else if (c == ',' && depth == 1) {
            arguments.push_back(trim(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    return false;
}

// The directive word of a line such as "  #ifdef X", lower-cased, and what follows it.
bool directiveWord(std::string_view line, std::string& word, std::string_view& rest)
{
    line = trimLeft(line);
    if (line.size() < 2 || (line[0] != '#' && line[0] != '.'))
        return false;
    std::size_t end = 1;
    while (end < line.size() && isLetter(line[end]))
        ++end;
    word.clear();
    for (char c : line.substr(1, end - 1))
        word += static_cast<char>(c | 0x20);
    rest = trim(line.substr(end, codeLength(line.substr(end))));
    return true;
}

}  // namespace

void Preprocessor::reset(const std::vector<std::pair<std::string, std::string>>& predefined)
{
    macros_.clear();
    lastMacro_.clear();
    conditions_.clear();
    for (const auto& [name, body] : predefined)
        macros_[name] = Macro{false, {}, body};
}

void Preprocessor::openCondition(bool holds)
{
    bool parent = active();
    conditions_.push_back({parent, holds, parent && holds});
}

Preprocessor::Result Preprocessor::process(std::string_view line, const Evaluate& evaluate)
{
    Result result;
    std::string word;
    std::string_view rest;
    bool directive = directiveWord(line, word, rest);
    std::string_view name = rest.substr(0, nameEnd(rest, 0));

    if (directive && (word == "ifdef" || word == "ifndef" || word == "if")) {
        bool holds = false;
        if (active()) {
            if (word == "if") {
                bool overflow = false;
                holds = evaluate(expand(rest, &overflow)) != 0;
                if (overflow)
                    result.errors.push_back(msg::kMacroTooLong);
            } else {
                holds = (macros_.count(std::string(name)) != 0) == (word == "ifdef");
            }
        }
        openCondition(holds);
    } else if (directive && word == "else") {
        if (!conditions_.empty()) {
            Condition& top = conditions_.back();
            top.active = top.parentActive && !top.taken;
            top.taken = true;
        }
    } else if (directive && word == "endif") {
        if (!conditions_.empty())
            conditions_.pop_back();
    } else if (!active()) {
        result.kind = Kind::Skipped;
        return result;
    } else if (directive && word == "define") {
        define(rest);
    } else if (directive && word == "defcont") {
        auto found = macros_.find(lastMacro_);
        if (found != macros_.end())
            found->second.body += rest;
    } else if (directive && word == "include") {
        std::string_view file = rest;
        if (!file.empty() && (file[0] == '"' || file[0] == '<')) {
            char close = file[0] == '"' ? '"' : '>';
            file = file.substr(1, file.find(close, 1) == std::string_view::npos ? std::string_view::npos
                                                                                : file.find(close, 1) - 1);
        } else {
            file = file.substr(0, std::find_if(file.begin(), file.end(), isBlank) - file.begin());
        }
        result.kind = Kind::Include;
        result.text = std::string(file);
        return result;
    } else {
        bool overflow = false;
        result.text = expand(line.substr(0, codeLength(line)), &overflow);
        if (overflow)
            result.errors.push_back(msg::kMacroTooLong);
        return result;
    }
    result.kind = active() ? Kind::Directive : Kind::Skipped;
    return result;
}

void Preprocessor::define(std::string_view rest)
{
    std::size_t end = nameEnd(rest, 0);
    if (end == 0)
        return;
    std::string name(rest.substr(0, end));
    Macro macro;
    if (end < rest.size() && rest[end] == '(') {
        std::size_t close = rest.find(')', end);
        if (close != std::string_view::npos) {
            macro.takesArguments = true;
            std::string_view list = rest.substr(end + 1, close - end - 1);
            while (!list.empty() || macro.parameters.empty()) {
                std::size_t comma = list.find(',');
                macro.parameters.emplace_back(trim(list.substr(0, comma)));
                if (comma == std::string_view::npos)
                    break;
                list.remove_prefix(comma + 1);
            }
            end = close + 1;
        }
    }
    macro.body = std::string(trim(rest.substr(end)));
    macros_[name] = std::move(macro);
    lastMacro_ = name;
}

std::string Preprocessor::expand(std::string_view text, bool* overflow) const
{
    if (macros_.empty())
        return std::string(text);
    std::string out;
    std::vector<std::string_view> open;
    bool tooLong = false;
    expandInto(text, out, open, text.size() + kMaxExpansion, tooLong);
    if (overflow)
        *overflow = tooLong;
    return out;
}

void Preprocessor::expandInto(std::string_view text, std::string& out, std::vector<std::string_view>& open,
                              std::size_t limit, bool& overflow) const
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (out.size() > limit) {
            overflow = true;
            return;
        }
        std::size_t literal = literalLength(text, i);
        if (literal == 0 && isDigit(text[i]))
            literal = nameEnd(text, i) - i;
        if (literal) {
            out.append(text.substr(i, literal));
            i += literal;
            continue;
        }
        if (!isNameStart(text[i])) {
            out += text[i++];
            continue;
        }
        std::size_t end = nameEnd(text, i);
        std::string_view name = text.substr(i, end - i);
        auto found = macros_.find(std::string(name));
        bool usable = found != macros_.end() && open.size() < kMaxNesting
                      && std::find(open.begin(), open.end(), name) == open.end();
        std::vector<std::string_view> arguments;
        if (usable && found->second.takesArguments) {
            std::size_t paren = end;
            while (paren < text.size() && isBlank(text[paren]))
                ++paren;
            usable = paren < text.size() && text[paren] == '(' && readArguments(text, paren, arguments, end);
        }
        if (!usable) {
            out.append(name);
            i = end;
            continue;
        }
        std::string replacement = found->second.takesArguments ? substitute(found->second, arguments)
                                                               : found->second.body;
        open.push_back(found->first);
        expandInto(replacement, out, open, limit, overflow);
        open.pop_back();
        i = end;
    }
}

std::string Preprocessor::substitute(const Macro& macro, const std::vector<std::string_view>& arguments) const
{
    const std::string& body = macro.body;
    std::string out;
    std::size_t i = 0;
    while (i < body.size()) {
        std::size_t literal = literalLength(body, i);
        if (literal == 0 && isDigit(body[i]))
            literal = nameEnd(body, i) - i;
        if (literal == 0 && isNameStart(body[i]))
            literal = nameEnd(body, i) - i;
        if (literal == 0) {
            out += body[i++];
            continue;
        }
        std::string_view word = std::string_view(body).substr(i, literal);
        auto parameter = std::find(macro.parameters.begin(), macro.parameters.end(), word);
        std::size_t index = static_cast<std::size_t>(parameter - macro.parameters.begin());
        if (parameter != macro.parameters.end() && isNameStart(word[0]))
            out.append(index < arguments.size() ? arguments[index] : std::string_view());
        else
            out.append(word);
        i += literal;
    }
    return out;
}

}  // namespace tasm
