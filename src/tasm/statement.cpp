#include "statement.h"

#include "text.h"

namespace tasm {

std::vector<std::string_view> splitStatements(std::string_view code)
{
    std::vector<std::string_view> statements;
    std::size_t start = 0;
    for (std::size_t end; (end = findUnquoted(code, '\\', start)) != std::string_view::npos; start = end + 1)
        statements.push_back(code.substr(start, end - start));
    statements.push_back(code.substr(start));
    return statements;
}

static std::size_t tokenEnd(std::string_view text, std::size_t at)
{
    while (at < text.size() && !isBlank(text[at]) && text[at] != ':')
        ++at;
    return at;
}

Statement parseStatement(std::string_view text)
{
    Statement statement;
    std::size_t i = 0;
    if (!text.empty() && !isBlank(text[0]) && text[0] != '.' && text[0] != '#') {
        std::size_t end = i;
        while (end < text.size() && !isBlank(text[end]) && text[end] != ':' && text[end] != '=')
            ++end;
        statement.label = text.substr(0, end);
        i = end;
        if (i < text.size() && text[i] == ':')
            ++i;
    }
    while (i < text.size() && isBlank(text[i]))
        ++i;
    std::size_t end = (i < text.size() && text[i] == '=') ? i + 1 : tokenEnd(text, i);
    statement.mnemonic = text.substr(i, end - i);
    if (end < text.size() && text[end] == ':')
        ++end;
    statement.operands = trim(text.substr(end));
    return statement;
}

std::vector<std::string_view> splitItems(std::string_view operands)
{
    std::vector<std::string_view> items;
    if (trim(operands).empty())
        return items;
    std::size_t start = 0;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        char c = operands[i];
        if (c == '\'' && i + 2 < operands.size() && operands[i + 2] == '\'') {
            i += 2;
        } else if (c == '"') {
            for (++i; i < operands.size() && operands[i] != '"'; ++i) {
                if (operands[i] == '\\')
                    ++i;
            }
        } else if (c == ',') {
            items.push_back(trim(operands.substr(start, i - start)));
            start = i + 1;
        }
    }
    items.push_back(trim(operands.substr(start)));
    return items;
}

}  // namespace tasm
