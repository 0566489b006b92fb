#include "SourceTexts.h"

#include "gettext/Translator.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <map>
#include <sstream>

namespace sourcetexts {

namespace {

enum class Kind { Identifier, String, Number, Character, Punctuation };

struct Token {
    Kind kind;
    std::string text; // a string literal's bytes after its escapes are read
    int line = 0;
    bool wide = false; // L"", u"" or U"": never a catalogue's text
};

bool isIdentifierStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isIdentifierChar(char c) { return isIdentifierStart(c) || (c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

void appendUtf8(std::string& out, unsigned long code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Tokenizer {
public:
    explicit Tokenizer(const std::string& source)
        : s(source)
    {
    }

    std::vector<Token> run()
    {
        bool lineStart = true;
        while (at < s.size()) {
            char c = s[at];
            if (c == '\n') {
                ++line;
                ++at;
                lineStart = true;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++at;
                continue;
            }
            if (c == '#' && lineStart) {
                std::size_t start = at;
                skipDirective();
                readInclude(s.substr(start, at - start));
                continue;
            }
            lineStart = false;
            if (c == '/' && next(1) == '/') {
                while (at < s.size() && s[at] != '\n')
                    ++at;
                continue;
            }
            if (c == '/' && next(1) == '*') {
                at += 2;
                while (at < s.size() && !(s[at] == '*' && next(1) == '/')) {
                    if (s[at] == '\n')
                        ++line;
                    ++at;
                }
                at += 2;
                continue;
            }
            if (isIdentifierStart(c)) {
                std::size_t start = at;
                while (at < s.size() && isIdentifierChar(s[at]))
                    ++at;
                std::string word = s.substr(start, at - start);
                if (at < s.size() && s[at] == '"' && isStringPrefix(word)) {
                    readString(word);
                    continue;
                }
                if (at < s.size() && s[at] == '\'' && (word == "L" || word == "u" || word == "U" || word == "u8")) {
                    readCharacter();
                    continue;
                }
                tokens.push_back({ Kind::Identifier, word, line });
                continue;
            }
            if (isDigit(c) || (c == '.' && isDigit(next(1)))) {
                std::size_t start = at;
                while (at < s.size()
                    && (isIdentifierChar(s[at]) || s[at] == '.' || s[at] == '\''
                        || ((s[at] == '+' || s[at] == '-') && (s[at - 1] == 'e' || s[at - 1] == 'E'
                                                               || s[at - 1] == 'p' || s[at - 1] == 'P'))))
                    ++at;
                tokens.push_back({ Kind::Number, s.substr(start, at - start), line });
                continue;
            }
            if (c == '"') {
                readString("");
                continue;
            }
            if (c == '\'') {
                readCharacter();
                continue;
            }
            static const char* const pairs[] = { "::", "->", "<<", "==", "!=", "<=", ">=", "&&", "||", "++", "--" };
            std::string punctuation(1, c);
            for (const char* pair : pairs)
                if (c == pair[0] && next(1) == pair[1])
                    punctuation = pair;
            at += punctuation.size();
            tokens.push_back({ Kind::Punctuation, punctuation, line });
        }
        return tokens;
    }

    std::vector<std::string> includes; // the files of its "#include" lines

private:
    char next(std::size_t n) const { return at + n < s.size() ? s[at + n] : '\0'; }

    void readInclude(const std::string& directive)
    {
        std::size_t word = directive.find_first_not_of(" \t", 1);
        if (word == std::string::npos || directive.compare(word, 7, "include") != 0)
            return;
        std::size_t open = directive.find('"', word);
        std::size_t close = open == std::string::npos ? open : directive.find('"', open + 1);
        if (close != std::string::npos)
            includes.push_back(directive.substr(open + 1, close - open - 1));
    }

    static bool isStringPrefix(const std::string& word)
    {
        return word == "L" || word == "u" || word == "U" || word == "u8" || word == "R" || word == "LR"
            || word == "uR" || word == "UR" || word == "u8R";
    }

    void skipDirective()
    {
        while (at < s.size() && s[at] != '\n') {
            if (s[at] == '\\' && next(1) == '\n') {
                ++line;
                at += 2;
                continue;
            }
            if (s[at] == '/' && next(1) == '*') {
                // A comment that starts on the directive's line ends it.
                return;
            }
            ++at;
        }
    }

    // Reads one escape sequence after its backslash into `out`.
    void readEscape(std::string& out)
    {
        char c = s[at++];
        switch (c) {
        case 'n': out += '\n'; return;
        case 't': out += '\t'; return;
        case 'r': out += '\r'; return;
        case 'a': out += '\a'; return;
        case 'b': out += '\b'; return;
        case 'f': out += '\f'; return;
        case 'v': out += '\v'; return;
        case 'x': {
            unsigned long value = 0;
            while (at < s.size() && std::isxdigit(static_cast<unsigned char>(s[at])))
                value = value * 16 + static_cast<unsigned long>(std::stoi(std::string(1, s[at++]), nullptr, 16));
            out += static_cast<char>(value & 0xFF);
            return;
        }
        case 'u':
        case 'U': {
            int digits = c == 'u' ? 4 : 8;
            unsigned long value = 0;
            for (int i = 0; i < digits && at < s.size(); ++i)
                value = value * 16 + static_cast<unsigned long>(std::stoi(std::string(1, s[at++]), nullptr, 16));
            appendUtf8(out, value);
            return;
        }
        default:
            if (c >= '0' && c <= '7') {
                unsigned value = static_cast<unsigned>(c - '0');
                for (int i = 0; i < 2 && at < s.size() && s[at] >= '0' && s[at] <= '7'; ++i)
                    value = value * 8 + static_cast<unsigned>(s[at++] - '0');
                out += static_cast<char>(value & 0xFF);
                return;
            }
            out += c; // \\ \" \' \?
        }
    }

    void readString(const std::string& prefix)
    {
        const int startLine = line;
        std::string text;
        ++at; // the opening quote
        if (!prefix.empty() && prefix.back() == 'R') {
            std::size_t open = s.find('(', at);
            std::string delimiter = s.substr(at, open - at);
            std::string close = ")" + delimiter + "\"";
            std::size_t end = s.find(close, open);
            if (open == std::string::npos || end == std::string::npos) {
                at = s.size();
                return;
            }
            text = s.substr(open + 1, end - open - 1);
            line += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
            at = end + close.size();
        } else {
            while (at < s.size() && s[at] != '"' && s[at] != '\n') {
                if (s[at] == '\\') {
                    ++at;
                    readEscape(text);
                } else {
                    text += s[at++];
                }
            }
            ++at; // the closing quote
        }
        const bool wide = prefix.rfind("u8", 0) != 0 && !prefix.empty() && prefix != "R";
        // Adjacent literals are one text.
        if (!tokens.empty() && tokens.back().kind == Kind::String) {
            tokens.back().text += text;
            tokens.back().wide = tokens.back().wide || wide;
            return;
        }
        tokens.push_back({ Kind::String, text, startLine, wide });
    }

    void readCharacter()
    {
        ++at;
        std::string text;
        while (at < s.size() && s[at] != '\'' && s[at] != '\n') {
            if (s[at] == '\\') {
                ++at;
                readEscape(text);
            } else {
                text += s[at++];
            }
        }
        ++at;
        tokens.push_back({ Kind::Character, text, line });
    }

    const std::string& s;
    std::size_t at = 0;
    int line = 1;
    std::vector<Token> tokens;
};

// A parameter list and the body it belongs to.
struct Body {
    std::size_t open = 0, close = 0;             // the braces
    std::size_t paramsOpen = 0, paramsClose = 0; // the parentheses
    std::string name;                            // empty for a lambda without one
    bool lambda = false;
};

struct Parameter {
    std::string name;
    bool text = false;  // a narrow text: const char*, std::string
    bool array = false; // a list of texts: const char* const*, const char* x[]
};

// A function that hands the parameter at `position` to the translation layer.
struct Wrapper {
    std::size_t position = 0;
    bool array = false;
    std::string file;   // where it is defined; empty: it may be called from anywhere
    std::string header; // where it is declared, so that files that include it may call it
    bool method = false; // may be called as "x.name(" or "x->name("
    bool operator<(const Wrapper& o) const
    {
        return std::tie(position, array, file, header, method) < std::tie(o.position, o.array, o.file, o.header, o.method);
    }
};

bool is(const Token& t, const char* text) { return t.kind != Kind::String && t.text == text; }

bool isKeyword(const std::string& word)
{
    static const std::set<std::string> words = { "if", "for", "while", "switch", "catch", "return", "sizeof",
        "decltype", "alignof", "noexcept", "static_assert", "requires", "else", "do", "case", "new", "delete",
        "throw", "co_return", "not", "and", "or" };
    return words.count(word) != 0;
}

struct File {
    std::string path;
    bool header = false;
    std::vector<std::string> includes;
    std::vector<Token> tokens;
    std::vector<std::size_t> match; // the partner of each bracket; npos for none
    std::vector<Body> bodies;
};

void matchBrackets(File& f)
{
    f.match.assign(f.tokens.size(), std::string::npos);
    std::vector<std::size_t> stack;
    for (std::size_t i = 0; i < f.tokens.size(); ++i) {
        const Token& t = f.tokens[i];
        if (t.kind != Kind::Punctuation)
            continue;
        if (t.text == "(" || t.text == "[" || t.text == "{") {
            stack.push_back(i);
        } else if (t.text == ")" || t.text == "]" || t.text == "}") {
            const char open = t.text == ")" ? '(' : t.text == "]" ? '[' : '{';
            // A stray closer (an unbalanced macro) closes nothing.
            auto it = std::find_if(stack.rbegin(), stack.rend(), [&](std::size_t j) { return f.tokens[j].text[0] == open; });
            if (it == stack.rend())
                continue;
            std::size_t j = *it;
            stack.erase(std::next(it).base(), stack.end());
            f.match[i] = j;
            f.match[j] = i;
        }
    }
}

void findBodies(File& f)
{
    const auto& t = f.tokens;
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (!is(t[i], "{") || f.match[i] == std::string::npos)
            continue;
        std::size_t j = i - 1;
        while (j > 0 && t[j].kind == Kind::Identifier
            && (t[j].text == "const" || t[j].text == "override" || t[j].text == "noexcept" || t[j].text == "mutable"
                || t[j].text == "final"))
            --j;
        if (!is(t[j], ")")) {
            // A trailing return type: ") -> type {".
            std::size_t k = j;
            while (k > 0 && i - k < 12 && !is(t[k], "->") && !is(t[k], ";") && !is(t[k], "}"))
                --k;
            if (k == 0 || !is(t[k], "->"))
                continue;
            j = k - 1;
            if (!is(t[j], ")"))
                continue;
        }
        if (f.match[j] == std::string::npos || f.match[j] == 0)
            continue;
        Body body;
        body.open = i;
        body.close = f.match[i];
        body.paramsClose = j;
        body.paramsOpen = f.match[j];
        const Token& before = t[body.paramsOpen - 1];
        if (before.kind == Kind::Identifier) {
            if (isKeyword(before.text))
                continue;
            body.name = before.text;
        } else if (is(before, "]") && f.match[body.paramsOpen - 1] != std::string::npos) {
            body.lambda = true;
            std::size_t bracket = f.match[body.paramsOpen - 1];
            if (bracket >= 2 && is(t[bracket - 1], "=") && t[bracket - 2].kind == Kind::Identifier)
                body.name = t[bracket - 2].text;
        } else {
            continue;
        }
        f.bodies.push_back(body);
    }
}

// The comma-separated parts of the tokens in (from, to), at the top level.
std::vector<std::pair<std::size_t, std::size_t>> splitArguments(const File& f, std::size_t from, std::size_t to,
                                                               bool angles)
{
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::size_t start = from + 1;
    int angle = 0;
    for (std::size_t i = from + 1; i < to; ++i) {
        const Token& t = f.tokens[i];
        if (t.kind != Kind::Punctuation)
            continue;
        if ((t.text == "(" || t.text == "[" || t.text == "{") && f.match[i] != std::string::npos && f.match[i] < to) {
            i = f.match[i];
            continue;
        }
        if (angles && t.text == "<")
            ++angle;
        else if (angles && t.text == ">" && angle > 0)
            --angle;
        else if (t.text == "," && angle == 0) {
            parts.emplace_back(start, i);
            start = i + 1;
        }
    }
    if (start < to)
        parts.emplace_back(start, to);
    return parts;
}

std::vector<Parameter> parameters(const File& f, const Body& body)
{
    std::vector<Parameter> list;
    for (auto [from, to] : splitArguments(f, body.paramsOpen, body.paramsClose, true)) {
        std::size_t end = to;
        for (std::size_t i = from; i < to; ++i)
            if (is(f.tokens[i], "="))
                end = i;
        Parameter p;
        bool brackets = false;
        std::size_t nameAt = end;
        for (std::size_t i = end; i-- > from;) {
            if (is(f.tokens[i], "]") || is(f.tokens[i], "[")) {
                brackets = true;
                continue;
            }
            if (f.tokens[i].kind == Kind::Identifier) {
                nameAt = i;
                break;
            }
            if (!is(f.tokens[i], "]"))
                break;
        }
        if (nameAt == end)
            continue;
        p.name = f.tokens[nameAt].text;
        int stars = 0;
        bool isChar = false, isString = false;
        for (std::size_t i = from; i < nameAt; ++i) {
            const Token& t = f.tokens[i];
            stars += is(t, "*");
            isChar = isChar || is(t, "char");
            isString = isString || is(t, "string");
        }
        p.text = (isChar && (stars >= 1 || brackets)) || isString;
        p.array = isChar && (stars >= 2 || (stars >= 1 && brackets));
        list.push_back(p);
    }
    return list;
}

// The call's tokens as written, without blanks.
std::string callText(const File& f, std::size_t from, std::size_t to)
{
    std::string text;
    for (std::size_t i = from; i <= to && i < f.tokens.size(); ++i) {
        const Token& t = f.tokens[i];
        if (t.kind == Kind::String)
            text += (t.wide ? "L\"" : "\"") + poEscape(t.text) + "\"";
        else if (t.kind == Kind::Character)
            text += "'" + poEscape(t.text) + "'";
        else
            text += t.text;
    }
    return text;
}

class Extractor {
public:
    Extractor(const std::vector<SourceFile>& sources, const IndirectTexts& indirect)
        : indirect(indirect)
    {
        for (const SourceFile& source : sources) {
            File f;
            f.path = source.path;
            f.header = f.path.size() > 2 && f.path.compare(f.path.size() - 2, 2, ".h") == 0;
            Tokenizer tokenizer(source.content);
            f.tokens = tokenizer.run();
            f.includes = tokenizer.includes;
            matchBrackets(f);
            findBodies(f);
            files.push_back(std::move(f));
        }
        for (const char* name : { "translate", "translateString", "translateText" })
            wrappers[name].insert(Wrapper { 0, false, "", "", false });
        for (const auto& [header, name, position] : indirect.wrappers)
            wrappers[name].insert(Wrapper { position, false, header, header, true });
    }

    Extraction run()
    {
        // Wrappers found in one pass may show texts of calls seen before.
        std::size_t known = 0;
        do {
            known = wrapperCount();
            pass(false);
        } while (wrapperCount() != known);
        pass(true);
        for (const File& f : files) {
            for (const Token& t : f.tokens) {
                static const std::string marker = "\xC2\xA4";
                if (t.kind == Kind::String && !t.wide && t.text.rfind(marker, 0) == 0)
                    addText(t.text.substr(marker.size()), f.path, t.line);
            }
            for (const auto& [file, table] : indirect.tables)
                if (file == f.path && !namedTexts(f, table))
                    result.unresolved.push_back({ f.path, 0, "table " + table });
        }
        return std::move(result);
    }

private:
    std::size_t wrapperCount() const
    {
        std::size_t n = 0;
        for (const auto& [name, set] : wrappers)
            n += set.size();
        return n;
    }

    void addText(std::string text, const std::string& file, int line)
    {
        if (!collecting)
            return;
        text = text.substr(contextTagLength(text));
        if (text.empty() || text == " ")
            return;
        if (!seen.insert(text).second)
            return;
        const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        (ascii ? result.texts : result.nonAscii).push_back({ text, file, line });
    }

    void unresolved(const File& f, std::size_t name, std::size_t close)
    {
        if (!collecting)
            return;
        std::string call = callText(f, name, close);
        if (indirect.calls.count({ f.path, call }))
            return;
        result.unresolved.push_back({ f.path, f.tokens[name].line, call });
    }

    // The literals between two tokens; false when there are none.
    bool literals(const File& f, std::size_t from, std::size_t to)
    {
        bool any = false;
        for (std::size_t i = from; i < to && i < f.tokens.size(); ++i)
            if (f.tokens[i].kind == Kind::String && !f.tokens[i].wide) {
                addText(f.tokens[i].text, f.path, f.tokens[i].line);
                any = true;
            }
        return any;
    }

    // The literals of the initializers of the arrays (or braced lists)
    // called `name` in the file: every one, for a name given to several.
    bool tableTexts(const File& f, const std::string& name)
    {
        const auto& t = f.tokens;
        bool any = false;
        for (std::size_t i = 1; i + 1 < t.size(); ++i) {
            if (t[i].kind != Kind::Identifier || t[i].text != name || is(t[i - 1], ".") || is(t[i - 1], "->"))
                continue;
            std::size_t j = i + 1;
            if (is(t[j], "[") && f.match[j] != std::string::npos)
                j = f.match[j] + 1;
            if (j < t.size() && is(t[j], "="))
                ++j;
            if (j < t.size() && is(t[j], "{") && f.match[j] != std::string::npos)
                any = literals(f, j, f.match[j]) || any;
        }
        return any;
    }

    // The literals of an array's initializer, else of a function's body.
    bool namedTexts(const File& f, const std::string& name)
    {
        if (tableTexts(f, name))
            return true;
        bool any = false;
        for (const Body& b : f.bodies)
            if (!b.lambda && b.name == name)
                any = literals(f, b.open, b.close) || any;
        return any;
    }

    // The bodies around token `at`, innermost first.
    std::vector<const Body*> enclosing(const File& f, std::size_t at) const
    {
        std::vector<const Body*> list;
        for (const Body& b : f.bodies)
            if (b.open < at && at < b.close)
                list.push_back(&b);
        std::sort(list.begin(), list.end(), [](const Body* a, const Body* b) { return a->open > b->open; });
        return list;
    }

    // The range of the range-for whose variable `name` is in scope at `at`:
    // the tokens of the range (from, to), or none.
    bool rangeOf(const File& f, const std::string& name, std::size_t at, std::size_t& from, std::size_t& to) const
    {
        const auto& t = f.tokens;
        for (std::size_t i = at; i-- > 0;) {
            if (!is(t[i], "for") || i + 1 >= t.size() || !is(t[i + 1], "(") || f.match[i + 1] == std::string::npos)
                continue;
            std::size_t close = f.match[i + 1];
            if (close > at)
                continue;
            std::size_t end = close + 1 < t.size() && is(t[close + 1], "{") ? f.match[close + 1] : std::string::npos;
            if (end == std::string::npos) {
                end = close + 1;
                while (end < t.size() && !is(t[end], ";"))
                    ++end;
            }
            if (at > end)
                continue;
            for (std::size_t k = i + 2; k + 1 < close; ++k) {
                if (t[k].kind == Kind::Identifier && t[k].text == name && is(t[k + 1], ":")) {
                    from = k + 2;
                    to = close;
                    return true;
                }
            }
        }
        return false;
    }

    // The texts of the range tokens (from, to): a braced list or an array.
    bool rangeTexts(const File& f, std::size_t from, std::size_t to)
    {
        if (literals(f, from, to))
            return true;
        if (to == from + 1 && f.tokens[from].kind == Kind::Identifier)
            return tableTexts(f, f.tokens[from].text);
        return false;
    }

    // Finds the texts of an argument without a literal; false when the
    // sources do not show them.
    bool resolve(const File& f, std::size_t call, std::size_t from, std::size_t to, bool array)
    {
        const auto& t = f.tokens;
        std::size_t n = to - from;
        if (n == 0)
            return false;
        // "x.c_str()" and "x.data()" are x.
        if (n == 5 && t[from].kind == Kind::Identifier && is(t[from + 1], ".")
            && (is(t[from + 2], "c_str") || is(t[from + 2], "data")) && is(t[from + 3], "("))
            n = 1;
        if (t[from].kind != Kind::Identifier)
            return false;
        const std::string& name = t[from].text;
        const bool plain = n == 1;
        const bool indexed = n >= 3 && is(t[from + 1], "[") && f.match[from + 1] == to - 1;
        const bool member = n == 3 && (is(t[from + 1], ".") || is(t[from + 1], "->")) && t[from + 2].kind == Kind::Identifier;
        if (!plain && !indexed && !member)
            return false;

        // A parameter of the function around the call: the function is a wrapper.
        if (plain || indexed) {
            for (const Body* body : enclosing(f, call)) {
                std::vector<Parameter> params = parameters(f, *body);
                for (std::size_t i = 0; i < params.size(); ++i) {
                    if (params[i].name != name || !params[i].text)
                        continue;
                    if (body->name.empty())
                        return false; // an anonymous lambda: no calls to follow
                    Wrapper w { i, indexed || params[i].array, f.path, "", false };
                    if (!body->lambda) {
                        w.header = declaringHeader(body->name, f);
                        w.method = body->paramsOpen >= 2 && is(f.tokens[body->paramsOpen - 2], "::");
                    }
                    wrappers[body->name].insert(w);
                    return true;
                }
            }
        }
        // The variable of a range-for over a list or an array.
        std::size_t rangeFrom = 0, rangeTo = 0;
        if ((plain || member) && rangeOf(f, name, call, rangeFrom, rangeTo))
            return rangeTexts(f, rangeFrom, rangeTo);
        // An element of an array.
        if (indexed || (plain && array))
            return tableTexts(f, name);
        // A local variable set from literals.
        if (plain) {
            std::vector<const Body*> around = enclosing(f, call);
            std::size_t start = around.empty() ? 0 : around.back()->open;
            for (std::size_t i = call; i-- > start + 1;) {
                if (t[i].kind == Kind::Identifier && t[i].text == name && is(t[i + 1], "=") && !is(t[i - 1], ".")
                    && !is(t[i - 1], "->")) {
                    std::size_t end = i + 2;
                    while (end < t.size() && !is(t[end], ";")) {
                        if ((is(t[end], "(") || is(t[end], "{")) && f.match[end] != std::string::npos)
                            end = f.match[end];
                        ++end;
                    }
                    return literals(f, i + 2, end);
                }
            }
        }
        return false;
    }

    // The header that the file of a definition includes and that declares
    // the function; empty for none.
    std::string declaringHeader(const std::string& name, const File& definition) const
    {
        for (const File& f : files) {
            if (!f.header || !includes(definition, f.path))
                continue;
            for (std::size_t i = 0; i + 1 < f.tokens.size(); ++i)
                if (f.tokens[i].kind == Kind::Identifier && f.tokens[i].text == name && is(f.tokens[i + 1], "("))
                    return f.path;
        }
        return {};
    }

    static bool includes(const File& f, const std::string& header)
    {
        for (const std::string& name : f.includes)
            if (header.size() >= name.size() && header.compare(header.size() - name.size(), name.size(), name) == 0
                && (header.size() == name.size() || header[header.size() - name.size() - 1] == '/'))
                return true;
        return false;
    }

    static bool visible(const Wrapper& w, const File& f, bool memberCall)
    {
        if (memberCall && !w.method)
            return false;
        if (w.file.empty() || w.file == f.path)
            return true;
        return !w.header.empty() && (w.header == f.path || includes(f, w.header));
    }

    // Whether the name at `at` starts a declaration or definition rather
    // than a call.
    bool isDeclaration(const File& f, std::size_t at) const
    {
        for (const Body& b : f.bodies)
            if (b.paramsOpen == at + 1)
                return true;
        // A constructor defined outside its class: "Name::Name(".
        if (at >= 2 && is(f.tokens[at - 1], "::") && f.tokens[at - 2].text == f.tokens[at].text)
            return true;
        std::size_t i = at;
        while (i >= 2 && is(f.tokens[i - 1], "::") && f.tokens[i - 2].kind == Kind::Identifier)
            i -= 2;
        if (i == 0)
            return false;
        const Token& before = f.tokens[i - 1];
        if (before.kind == Kind::Identifier)
            return !isKeyword(before.text);
        return is(before, "*") || is(before, "&") || is(before, ">") || is(before, "~");
    }

    void pass(bool collect)
    {
        collecting = collect;
        for (const File& f : files) {
            const auto& t = f.tokens;
            for (std::size_t i = 0; i + 1 < t.size(); ++i) {
                if (t[i].kind != Kind::Identifier || !is(t[i + 1], "("))
                    continue;
                auto found = wrappers.find(t[i].text);
                if (found == wrappers.end() || f.match[i + 1] == std::string::npos || isDeclaration(f, i))
                    continue;
                const std::size_t close = f.match[i + 1];
                const auto arguments = splitArguments(f, i + 1, close, false);
                const bool memberCall = i > 0 && (is(t[i - 1], ".") || is(t[i - 1], "->"));
                // One look at each argument position, as a list when any form takes one.
                std::map<std::size_t, bool> positions;
                for (const Wrapper& w : found->second)
                    if (visible(w, f, memberCall))
                        positions[w.position] = positions[w.position] || w.array;
                for (auto [position, array] : positions) {
                    if (position >= arguments.size())
                        continue;
                    auto [from, to] = arguments[position];
                    if (literals(f, from, to))
                        continue;
                    if (!resolve(f, i, from, to, array))
                        unresolved(f, i, close);
                }
            }
        }
    }

    const IndirectTexts& indirect;
    std::vector<File> files;
    std::map<std::string, std::set<Wrapper>> wrappers;
    std::set<std::string> seen;
    bool collecting = false;
    Extraction result;
};

} // namespace

IndirectTexts parseIndirectTexts(const std::string& content, std::vector<std::string>& errors)
{
    IndirectTexts list;
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::istringstream words(line);
        std::string file, kind, rest, word;
        words >> file >> kind;
        std::vector<std::string> more;
        while (words >> word) {
            more.push_back(word);
            rest += word;
        }
        char* end = nullptr;
        if (kind == "call" && !rest.empty())
            list.calls.insert({ file, rest });
        else if (kind == "table" && more.size() == 1)
            list.tables.insert({ file, rest });
        else if (kind == "wrapper" && more.size() == 2
            && (std::strtoul(more[1].c_str(), &end, 10), end && *end == '\0' && !more[1].empty()))
            list.wrappers.insert({ file, more[0], std::strtoul(more[1].c_str(), nullptr, 10) });
        else
            errors.push_back(line);
    }
    return list;
}

Extraction extract(const std::vector<SourceFile>& files, const IndirectTexts& indirect)
{
    return Extractor(files, indirect).run();
}

std::string poEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace sourcetexts
