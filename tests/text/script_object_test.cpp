#include "text/script_object.h"

#include <QJSEngine>

#include <gtest/gtest.h>

namespace mz {
namespace {

const Text countArguments = "function countArguments() { return arguments.length; }";

TEST(ScriptObject, RunPassesTheLeadingGivenArguments) {
    const std::optional<Text> none;
    const struct {
        const char* name;
        ScriptArguments arguments;
        Text count;
    } cases[] = {
        {"none given", {}, "0"},
        {"one, as encodeURI is called", {"a"}, "1"},
        {"an empty text is still given", {""}, "1"},
        {"stops at the first omitted", {"a", "b", "c", "d", none, "f"}, "4"},
        {"first omitted passes nothing", {none, "b", "c"}, "0"},
        {"all six", {"a", "b", "c", "d", "e", "f"}, "6"},
    };
    ScriptObject script;
    script.addCode(countArguments);
    ASSERT_EQ(script.lastError(), "");
    for (const auto& c : cases) {
        EXPECT_EQ(script.run("countArguments", c.arguments), c.count) << c.name;
        EXPECT_EQ(script.lastError(), "") << c.name;
    }
}

TEST(ScriptObject, TextsCrossAsGbk) {
    ScriptObject script;
    script.addCode("function join(a, b) { return a + '|' + b.length + '|' + b; }");
    // 中文 is two characters in the engine, four bytes outside it.
    EXPECT_EQ(script.run("join", {"x", "\xD6\xD0\xCE\xC4"}), "x|2|\xD6\xD0\xCE\xC4");
    EXPECT_EQ(script.eval("'\xD6\xD0'.charCodeAt(0)"), "20013");
}

TEST(ScriptObject, GlobalCodePersistsBetweenCalls) {
    ScriptObject script;
    EXPECT_TRUE(script.executeStatement("var total = 5"));
    script.addCode("function twice(n) { return String(n * 2); }");
    EXPECT_EQ(script.eval("total * 3"), "15");
    EXPECT_EQ(script.run("twice", {"21"}), "42");
    EXPECT_EQ(script.eval("undefined"), "") << "undefined reads as empty text";
    EXPECT_EQ(script.lastError(), "");
    EXPECT_EQ(script.run("encodeURI", {"a b"}), "a%20b") << "built-in functions run by name";
}

TEST(ScriptObject, FailuresGiveEmptyResultsAndAnError) {
    const struct {
        const char* name;
        Text (*call)(ScriptObject&);
    } cases[] = {
        {"unknown procedure", [](ScriptObject& s) { return s.run("noSuchFunction", {"a"}); }},
        {"not a function", [](ScriptObject& s) { return s.run("notCallable"); }},
        {"procedure throws an Error", [](ScriptObject& s) { return s.run("fails"); }},
        {"thrown text is not a result", [](ScriptObject& s) { return s.run("throwsText"); }},
        {"eval of an unknown name", [](ScriptObject& s) { return s.eval("missing + 1"); }},
        {"eval of a syntax error", [](ScriptObject& s) { return s.eval("1 +"); }},
        {"thrown text in eval", [](ScriptObject& s) { return s.eval("throw 'boom'"); }},
        {"encodeURI of a lone surrogate",
         [](ScriptObject& s) { return s.eval("encodeURI('\\uD800')"); }},
    };
    for (const auto& c : cases) {
        ScriptObject script;
        script.addCode("var notCallable = 3;"
                       "function fails() { throw new TypeError('bad'); }"
                       "function throwsText() { throw 'boom'; }");
        ASSERT_EQ(script.lastError(), "") << c.name;
        EXPECT_EQ(c.call(script), "") << c.name;
        EXPECT_NE(script.lastError(), "") << c.name;
        EXPECT_EQ(script.eval("'ok'"), "ok") << c.name << ": the engine goes on working";
        EXPECT_EQ(script.lastError(), "") << c.name << ": a success clears the error";
    }
}

TEST(ScriptObject, StatementAndCodeFailuresAreReported) {
    ScriptObject script;
    EXPECT_FALSE(script.executeStatement("var = 1"));
    EXPECT_NE(script.lastError(), "");
    script.addCode("function broken( {");
    EXPECT_NE(script.lastError(), "");
    EXPECT_EQ(script.run("broken"), "");
    EXPECT_TRUE(script.executeStatement("var fine = 1"));
    EXPECT_EQ(script.lastError(), "");
}

TEST(ScriptObject, VbsIsSetButCannotRun) {
    ScriptObject script;
    script.addCode(countArguments);
    EXPECT_EQ(script.language(1), "vbs");
    EXPECT_EQ(script.run("countArguments", {"a"}), "");
    EXPECT_NE(script.lastError(), "");
    EXPECT_FALSE(script.executeStatement("var x = 1"));
    EXPECT_EQ(script.eval("1 + 1"), "");
    EXPECT_NE(script.lastError(), "");

    EXPECT_EQ(script.language(7), "vbs") << "other codes change nothing";
    EXPECT_EQ(script.language(), "JScript") << "an omitted code counts as 0";
    EXPECT_EQ(script.run("countArguments", {"a"}), "1") << "code added before stays";
}

TEST(ScriptObject, PropertiesAreWrittenOnlyWhenGiven) {
    ScriptObject script;
    EXPECT_EQ(script.timeout(), -1) << "an omitted time-out means no limit";
    EXPECT_EQ(script.timeout(2500), 2500);

    EXPECT_EQ(script.state(), 0);
    EXPECT_EQ(script.state(1), 1);
    EXPECT_EQ(script.state(), 1);
    EXPECT_EQ(script.state(5), 1) << "an invalid state is refused";
    EXPECT_NE(script.lastError(), "");

    EXPECT_TRUE(script.allowUI());
    EXPECT_FALSE(script.allowUI(false));
    EXPECT_FALSE(script.allowUI());

    EXPECT_EQ(script.siteWindow(), 0);
    EXPECT_EQ(script.siteWindow(0x1234), 0x1234);
    EXPECT_EQ(script.siteWindow(), 0x1234);
}

TEST(ScriptObject, TimeoutInterruptsAnEndlessScript) {
    ScriptObject script;
    script.timeout(200);
    script.addCode("function spin() { for (;;) {} }"
                   "function spinCatching() { for (;;) { try { for (;;) {} } catch (e) {} } }"
                   "function quick() { return 'done'; }");
    EXPECT_EQ(script.run("spin"), "");
    EXPECT_NE(script.lastError(), "");
    EXPECT_EQ(script.run("spinCatching"), "") << "a catch block does not swallow the interrupt";
    EXPECT_NE(script.lastError(), "");
    EXPECT_EQ(script.eval("while (true) {}"), "");
    EXPECT_NE(script.lastError(), "");
    EXPECT_EQ(script.run("quick"), "done") << "the engine runs again after an interrupt";
    EXPECT_EQ(script.lastError(), "");
}

TEST(ScriptObject, ResetDiscardsCodeButKeepsProperties) {
    ScriptObject script;
    script.addCode(countArguments);
    script.timeout(300);
    script.state(1);
    script.reset();
    EXPECT_EQ(script.run("countArguments"), "");
    EXPECT_NE(script.lastError(), "");
    EXPECT_EQ(script.state(), 0) << "a reset engine is initialised again";
    EXPECT_EQ(script.run("encodeURI", {"x"}), "x");
    script.addCode("function spin() { for (;;) {} }");
    EXPECT_EQ(script.run("spin"), "") << "the time-out still applies after a reset";
}

TEST(ScriptObject, CopiesShareTheEngine) {
    auto original = std::make_unique<ScriptObject>();
    ScriptObject copy(*original);
    EXPECT_EQ(copy.engine(), original->engine());
    copy.addCode(countArguments);
    copy.timeout(1234);
    EXPECT_EQ(original->run("countArguments", {"a", "b"}), "2");
    EXPECT_EQ(original->timeout(1234), 1234);
    original.reset();
    EXPECT_EQ(copy.run("countArguments", {"a"}), "1") << "the copy outlives the original";
}

} // namespace
} // namespace mz
