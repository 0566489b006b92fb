// The catalogue check's reading of the sources: which texts reach the
// translation layer, and which calls it cannot account for.
#include "SourceTexts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace sourcetexts;

std::vector<std::string> texts(const Extraction& e)
{
    std::vector<std::string> list;
    for (const Text& t : e.texts)
        list.push_back(t.text);
    std::sort(list.begin(), list.end());
    return list;
}

std::vector<std::string> calls(const Extraction& e)
{
    std::vector<std::string> list;
    for (const Unresolved& u : e.unresolved)
        list.push_back(u.file + ":" + std::to_string(u.line) + " " + u.call);
    return list;
}

TEST(SourceTexts, TextsAreFoundWhereverTheyReachTheTranslationLayer)
{
    struct Case {
        const char* what;
        const char* source;
        std::vector<std::string> expected;
    } cases[] = {
        { "a literal, adjacent literals, escapes and a context tag",
          R"(void f() { translate("Open"); translate("Two " "parts\n\"q\""); translateString("c|Close"); })",
          { "Close", "Open", "Two parts\n\"q\"" } },
        { "both sides of a choice",
          R"(void f(bool b) { show(translate(b ? "Yes" : "No")); })", { "No", "Yes" } },
        { "a wrapper, a wrapper of a wrapper, a lambda and a member function",
          R"(QString tr8(const char* key) { return QString::fromStdWString(translate(key)); }
             QString twice(int n, const char* k) { return tr8(k); }
             void Box::say(const std::string& s) { translateString(s); }
             void g() {
                 auto item = [&](const char* text, int id) { add(translate(text), id); };
                 item("&File", 1); tr8("Zoom"); twice(2, "Pause"); say("Hello");
             })",
          { "&File", "Hello", "Pause", "Zoom" } },
        { "arrays, lists of a range-for and their members, a local variable",
          R"(const char* const names[] = {"Ventilation", "Compression"};
             struct Entry { const char* name; const char* tip; } entries[] = {{"Phone", "Call for help"}};
             void f(int i) {
                 translate(names[i]);
                 for (const char* month : {"January", "February"}) translate(month);
                 for (const Entry& e : entries) translate(e.tip);
                 const char* title = i ? "Import" : "Export";
                 translate(title);
             })",
          { "Call for help", "Compression", "Export", "February", "Import", "January", "Phone", "Ventilation" } },
        { "a list handed to a function that translates its elements",
          R"(void part(const char* const* words, int n) { translate(words[n]); }
             void f() { const char* const words[] = {"low", "high"}; part(words, 1); })",
          { "high", "low" } },
        { "the marked texts of a template; not its unmarked ones, wide texts or comments",
          "Table t { 1, \"\xC2\xA4" "Caption\", {{ 2, \"Static\", \"\xC2\xA4" "c|Label\" }, { 3, \"Static\", \"- mm\" }}};\n"
          "// translate(\"commented\")\n/* translate(\"also\") */ void f() { g(L\"wide\"); }",
          { "Caption", "Label" } },
        { "declarations and other functions of the same name are no calls",
          R"(std::wstring translate(const char* text);
             void f(QPainter& p) { p.translate(QPoint(1, 2)); translate(""); translate(" "); })",
          {} },
    };
    for (const Case& c : cases) {
        Extraction e = extract({ { "src/a.cpp", c.source } });
        EXPECT_EQ(texts(e), c.expected) << c.what;
        EXPECT_EQ(calls(e), std::vector<std::string>()) << c.what;
    }
}

TEST(SourceTexts, ACallWhoseTextTheSourcesDoNotShowIsReportedUnlessListed)
{
    const std::vector<SourceFile> files = {
        { "src/a.h", "void show(const char* text);\nclass Step { public: explicit Step(std::string text); };\n" },
        { "src/a.cpp", "#include \"a.h\"\nvoid show(const char* text) { translate(text); }\n"
                       "void f(const std::string& s) {\n  translate(s.substr(1).c_str());\n  show(name());\n"
                       "  Step(\"Later\");\n}\n" },
        { "src/b.cpp", "void g(Widget* w) { show(false); w->show(); }\n" },
        { "src/c.cpp", "#include \"dir/a.h\"\nvoid h() { show(\"Shown\"); }\n" },
        { "src/rows.cpp", "Row row(int s) { if (s) return { \"Busy\", true }; return { \"Free\", false }; }\n" },
        { "src/x.cpp", "const char* text = \"caf\xC3\xA9\"; void k() { translate(\"caf\xC3\xA9\"); }\n" },
    };
    Extraction plain = extract(files);
    EXPECT_EQ(calls(plain), (std::vector<std::string> { "src/a.cpp:4 translate(s.substr(1).c_str())",
                                                        "src/a.cpp:5 show(name())" }))
        << "a function of the same name in a file that does not include its header is another function";
    EXPECT_EQ(texts(plain), std::vector<std::string>());
    ASSERT_EQ(plain.nonAscii.size(), 1u);
    EXPECT_EQ(plain.nonAscii[0].file, "src/x.cpp");

    std::vector<std::string> errors;
    IndirectTexts listed = parseIndirectTexts("# why\n\nsrc/a.cpp call translate( s.substr(1).c_str() )\n"
                                              "src/a.cpp call show(name())\nsrc/rows.cpp table row\n"
                                              "src/a.h wrapper Step 0\nsrc/a.cpp something\n",
                                              errors);
    EXPECT_EQ(errors, std::vector<std::string> { "src/a.cpp something" });
    Extraction accounted = extract(files, listed);
    EXPECT_EQ(calls(accounted), std::vector<std::string>());
    EXPECT_EQ(texts(accounted), (std::vector<std::string> { "Busy", "Free", "Later" }));

    // A listed table that no longer exists is reported, so the list stays true.
    IndirectTexts stale = parseIndirectTexts("src/rows.cpp table gone\n", errors);
    EXPECT_EQ(calls(extract(files, stale)).back(), "src/rows.cpp:0 table gone");
}

TEST(SourceTexts, PoEscapes)
{
    EXPECT_EQ(poEscape("a\\b\"c\nd\re\tf"), "a\\\\b\\\"c\\nd\\re\\tf");
}

} // namespace
