#include "split/AssemblyScript.h"

#include "platform/SystemCodePage.h"
#include "split/SplitTestSupport.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

std::vector<std::string> scriptLines(int parts, const std::string& name) {
    return AssemblyScript::lines(parts, name + ".", progressiveExtensions(), name);
}

TEST(AssemblyScriptTest, ScriptIsWrittenByteForByteAndReplacedByTheNextSplit) {
    const std::string stars = "echo **************************************************\r\n";
    const std::string head = "@echo off\r\necho.\r\n" + stars +
                             "echo * ==[Brenvik Assembler]==                        *\r\n" + stars +
                             "echo.\r\nPause\r\necho.\r\n";
    const std::string foot = "echo.\r\necho.\r\necho [Assemblaggio terminato!]\r\n";
    splittest::Split s("film.avi", patternBytes(10000), 4);
    s.run();
    EXPECT_EQ(s.app.drives.read(s.script()),
              head + "COPY /B \"film.avi.000\" + \"film.avi.001\" + \"film.avi.002\" film.avi /B /V /-Y\r\n" + foot);
    s.setKb(8);
    s.run();
    EXPECT_EQ(s.app.drives.read(s.script()),
              head + "COPY /B \"film.avi.000\" + \"film.avi.001\" film.avi /B /V /-Y\r\n" + foot)
        << "a shorter script leaves nothing of the longer one";
}

TEST(AssemblyScriptTest, TargetIsQuotedOnlyWhenACharacterWouldCutItAndPercentSignsAreDoubled) {
    for (const char* name : {"mio file.zip", "a&b.txt", "a(1).txt", "a^b", "a,b", "a;b", "a=b", "a+b.txt"})
        EXPECT_EQ(scriptLines(1, name)[8], std::string("COPY /B \"") + name + ".000\" \"" + name + "\" /B /V /-Y")
            << name;
    for (const char* name : {"archivio.tar.gz", "a[b].txt", "-x", "a!b", "a@b#c$d"})
        EXPECT_EQ(scriptLines(1, name)[8], std::string("COPY /B \"") + name + ".000\" " + name + " /B /V /-Y") << name;
    EXPECT_EQ(scriptLines(2, "100%.txt")[8], "COPY /B \"100%%.txt.000\" + \"100%%.txt.001\" 100%%.txt /B /V /-Y");
    EXPECT_EQ(scriptLines(1, "%a b%")[8], "COPY /B \"%%a b%%.000\" \"%%a b%%\" /B /V /-Y");
}

TEST(AssemblyScriptTest, TextIsWrittenInCodePage850OrNotAtAll) {
    // Windows writes in its own OEM page, which under a test runner need not be 850.
    if (syscp::oemCodePage() == 850) {
        EXPECT_EQ(syscp::toOem("ÇüéàÀÈÉÌÒÙìòùø£ß"), "\x80\x81\x82\x85\xb7\xd4\x90\xde\xe3\xeb\x8d\x95\x97\x9b\x9c\xe1");
    }
    EXPECT_EQ(syscp::toOem("a\xff"), std::nullopt) << "not UTF-8";

    splittest::Split s("日本.txt", patternBytes(3000), 1);
    s.run();
    EXPECT_EQ(splittest::joinParts(s.app.drives, "c:\\myfiles\\[日本.txt]\\日本.txt.", 3), s.source);
    EXPECT_FALSE(s.app.drives.exists(s.script()));
    EXPECT_EQ(s.m().infolabel.caption(),
              "Parti create, script non creato: il nome ha caratteri fuori dalla code page " +
                  std::to_string(syscp::oemCodePage()));
}

// The copy line all parts would take on one line, `target` as it stands on it.
std::string singleLine(int parts, const std::string& name, const std::string& target) {
    std::string line = "COPY /B ";
    for (int i = 0; i < parts; ++i)
        line += "\"" + name + "." + std::to_string(1000 + i).substr(1) + "\" " + (i + 1 < parts ? "+ " : "");
    return line + target + " /B /V /-Y";
}

// The rebuild under Wine proves what the gathering commands do; here, the limit and the guard.
TEST(AssemblyScriptTest, OneLineIsKeptUpToTheInterpretersLimitExactlyAndLongerCopiesAreGathered) {
    const std::string fits(15, 'q');
    ASSERT_EQ(singleLine(340, fits, fits).size(), 8191u);
    std::vector<std::string> lines = scriptLines(340, fits);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[8], singleLine(340, fits, fits));
    // One character more, through the quotes a space needs.
    const std::string over = std::string(20, 'q') + " " + std::string(19, 'q');
    ASSERT_EQ(singleLine(166, over, "\"" + over + "\"").size(), 8192u);
    lines = scriptLines(166, over);
    ASSERT_EQ(lines.size(), 16u) << "the guard, two gathering lines, the move and the clean-up";
    for (const std::string& line : lines)
        EXPECT_LE(line.size(), 8191u);
    const std::string temp = "\"" + over + ".$$$\"";
    EXPECT_EQ(lines[8], "IF EXIST " + temp + " (echo " + temp +
                            " esiste: rinominalo e ripeti, il file non e' stato ricostruito. & GOTO :EOF)")
        << "a file of the temporary name that is not ours stops the script before anything is written";
}

} // namespace
} // namespace brenvik
