#include "split/AssemblyScript.h"

#include "platform/SystemCodePage.h"
#include "split/OemCodePage.h"
#include "split/SplitTestSupport.h"

#include <gtest/gtest.h>
#include <regex>

namespace brenvik {
namespace {

using splittest::setSizeKb;

std::array<std::string, 1000> extensions() {
    std::array<std::string, 1000> t;
    for (int i = 0; i < 1000; ++i)
        t[static_cast<size_t>(i)] = std::to_string(1000 + i).substr(1);
    return t;
}

std::vector<std::string> scriptLines(int parts, const std::string& name) {
    return AssemblyScript::lines(parts, name + ".", name, extensions());
}

const std::string Head = "@echo off\r\n"
                         "echo.\r\n"
                         "echo **************************************************\r\n"
                         "echo * ==[Brenvik Assembler]==                        *\r\n"
                         "echo **************************************************\r\n"
                         "echo.\r\n"
                         "Pause\r\n"
                         "echo.\r\n";
const std::string Foot = "echo.\r\n"
                         "echo.\r\n"
                         "echo [Assemblaggio terminato!]\r\n";

// The script the program writes for `bytes` split at `kb`, read back from disk.
std::string writtenScript(const std::string& name, size_t bytes, int kb) {
    splittest::Split s(name, patternBytes(bytes), kb);
    s.run();
    return s.app.drives.read(s.script());
}

TEST(AssemblyScriptTest, OrdinaryNamesGiveTheTwelveLinesByteForByte) {
    EXPECT_EQ(writtenScript("film.avi", 10000, 4),
              Head + "COPY /B \"film.avi.000\" + \"film.avi.001\" + \"film.avi.002\" film.avi /B /V /-Y\r\n" + Foot);
    EXPECT_EQ(writtenScript("film.avi", 4096, 4), Head + "COPY /B \"film.avi.000\" film.avi /B /V /-Y\r\n" + Foot);
    EXPECT_EQ(writtenScript("relazione", 3000, 1),
              Head + "COPY /B \"relazione.000\" + \"relazione.001\" + \"relazione.002\" relazione /B /V /-Y\r\n" +
                  Foot);
}

TEST(AssemblyScriptTest, TargetIsQuotedOnlyWhenACharacterWouldCutIt) {
    EXPECT_EQ(scriptLines(2, "mio file.zip")[8],
              "COPY /B \"mio file.zip.000\" + \"mio file.zip.001\" \"mio file.zip\" /B /V /-Y");
    for (const char* name : {"a&b.txt", "a(1).txt", "x)y", "a^b", "a,b", "a;b", "a=b", "a+b.txt"})
        EXPECT_EQ(scriptLines(1, name)[8], std::string("COPY /B \"") + name + ".000\" \"" + name + "\" /B /V /-Y")
            << name;
    for (const char* name : {"archivio.tar.gz", "a[b].txt", "a'b", "-x", "a!b", "a~b", "a@b#c$d"})
        EXPECT_EQ(scriptLines(1, name)[8], std::string("COPY /B \"") + name + ".000\" " + name + " /B /V /-Y") << name;
}

TEST(AssemblyScriptTest, PercentSignsAreDoubled) {
    EXPECT_EQ(scriptLines(2, "100%.txt")[8], "COPY /B \"100%%.txt.000\" + \"100%%.txt.001\" 100%%.txt /B /V /-Y");
    EXPECT_EQ(scriptLines(1, "%a b%")[8], "COPY /B \"%%a b%%.000\" \"%%a b%%\" /B /V /-Y");
}

TEST(AssemblyScriptTest, TextIsWrittenInCodePage850) {
    std::string script = writtenScript("città.txt", 3000, 1);
    EXPECT_NE(script.find("\"citt\x85.txt.000\""), std::string::npos);
    EXPECT_NE(script.find(" citt\x85.txt /B /V /-Y\r\n"), std::string::npos);
    EXPECT_EQ(script.find("\xc3"), std::string::npos) << "no UTF-8 left";
    EXPECT_EQ(std::count(script.begin(), script.end(), '\n'), 12);

    EXPECT_EQ(oem::fromUtf8("ÇüéàÀÈÉÌÒÙìòùø£ß"), "\x80\x81\x82\x85\xb7\xd4\x90\xde\xe3\xeb\x8d\x95\x97\x9b\x9c\xe1");
    EXPECT_EQ(oem::fromUtf8("plain"), "plain");
    EXPECT_EQ(oem::fromUtf8("€"), std::nullopt) << "the euro sign has no place in 850";
    EXPECT_EQ(oem::fromUtf8("日本"), std::nullopt);
    EXPECT_EQ(oem::fromUtf8("a\xcc\x80"), std::nullopt) << "a combining accent is a character of its own";
    EXPECT_EQ(oem::fromUtf8("\xe0\x80"), std::nullopt) << "cut sequence";
    EXPECT_EQ(oem::fromUtf8("\xc0\xa0"), std::nullopt) << "overlong sequence";
}

TEST(AssemblyScriptTest, NameOutsideTheCodePageWritesPartsButNoScript) {
    splittest::Split s("日本.txt", patternBytes(3000), 1);
    s.app.store("opzioni", "cartsplit", "1");
    s.run();
    EXPECT_EQ(splittest::joinParts(s.app.drives, "c:\\myfiles\\[日本.txt]\\日本.txt.", 3), s.source);
    EXPECT_FALSE(s.app.drives.exists(s.script()));
    EXPECT_EQ(s.m().infolabel.caption(),
              "Parti create, script non creato: il nome ha caratteri fuori dalla code page " +
                  std::to_string(syscp::oemCodePage()));
    EXPECT_TRUE(s.app.launcher.started.empty());
}

// Every copy command of a long script: what it reads and where it writes.
struct Copy {
    std::vector<std::string> sources;
    std::string destination;
    std::string switches;
};

std::vector<Copy> copies(const std::vector<std::string>& lines) {
    std::vector<Copy> out;
    static const std::regex quoted("\"([^\"]*)\"");
    for (const std::string& line : lines) {
        if (line.rfind("COPY /B ", 0) != 0)
            continue;
        std::vector<std::string> names;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), quoted); it != std::sregex_iterator(); ++it)
            names.push_back((*it)[1]);
        Copy c;
        c.destination = names.back();
        names.pop_back();
        c.sources = names;
        c.switches = line.substr(line.rfind('"') + 1);
        out.push_back(c);
    }
    return out;
}

TEST(AssemblyScriptTest, TooManyPartsForOneLineAreGatheredInATemporaryFile) {
    const std::vector<std::string> lines = scriptLines(1000, "film.avi");
    for (const std::string& line : lines)
        EXPECT_LE(line.size(), AssemblyScript::MaxLine);
    ASSERT_GT(lines.size(), 14u);
    const std::vector<std::string> plain = scriptLines(3, "film.avi");
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8),
              std::vector<std::string>(plain.begin(), plain.begin() + 8));

    const std::string temp = "film.avi.$$$";
    std::vector<Copy> cs = copies(lines);
    ASSERT_GE(cs.size(), 2u);
    std::vector<std::string> read;
    for (size_t i = 0; i < cs.size(); ++i) {
        EXPECT_EQ(cs[i].destination, temp) << "no command writes into a part";
        EXPECT_EQ(cs[i].switches, " /B /V /Y");
        auto first = cs[i].sources.begin();
        if (i > 0) {
            ASSERT_EQ(cs[i].sources.front(), temp) << "later commands append to the temporary file";
            ++first;
        }
        read.insert(read.end(), first, cs[i].sources.end());
    }
    std::vector<std::string> expected;
    for (int i = 0; i < 1000; ++i)
        expected.push_back("film.avi." + std::to_string(1000 + i).substr(1));
    EXPECT_EQ(read, expected) << "every part once, in number order";

    EXPECT_EQ(lines[8], "IF EXIST \"film.avi.$$$\" (echo \"film.avi.$$$\" esiste: rinominalo e ripeti, il file non e' "
                        "stato ricostruito. & GOTO :EOF)")
        << "a file of the temporary name that is not ours stops the script before anything is written";
    const size_t after = 9 + cs.size();
    ASSERT_EQ(lines.size(), after + 5);
    EXPECT_EQ(lines[after], "MOVE /-Y \"film.avi.$$$\" film.avi") << "asks before replacing";
    EXPECT_EQ(lines[after + 1], "IF EXIST \"film.avi.$$$\" DEL \"film.avi.$$$\"");
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"echo.", "echo.", "echo [Assemblaggio terminato!]"}));
}

TEST(AssemblyScriptTest, LongFormKeepsQuotingAndPercentRules) {
    const std::string name = std::string(120, 'n') + " 5%&.x";
    const std::vector<std::string> lines = scriptLines(200, name);
    for (const std::string& line : lines)
        EXPECT_LE(line.size(), AssemblyScript::MaxLine);
    const std::string temp = "\"" + std::string(120, 'n') + " 5%%&.x.$$$\"";
    EXPECT_EQ(lines[lines.size() - 5], "MOVE /-Y " + temp + " \"" + std::string(120, 'n') + " 5%%&.x\"");
    EXPECT_EQ(lines[8].rfind("IF EXIST " + temp + " (echo " + temp, 0), 0u) << "the guard quotes and doubles too";
    EXPECT_NE(lines[9].find("\"" + std::string(120, 'n') + " 5%%&.x.000\""), std::string::npos);
}

// The copy line all parts would take on one line, `target` as it stands on it.
std::string singleLine(int parts, const std::string& name, const std::string& target) {
    std::string line = "COPY /B ";
    for (int i = 0; i < parts; ++i)
        line += "\"" + name + "." + std::to_string(1000 + i).substr(1) + "\" " + (i + 1 < parts ? "+ " : "");
    return line + target + " /B /V /-Y";
}

TEST(AssemblyScriptTest, OneLineIsKeptUpToTheInterpretersLimitExactly) {
    const std::string fits(15, 'q');
    ASSERT_EQ(singleLine(340, fits, fits).size(), 8191u);
    std::vector<std::string> lines = scriptLines(340, fits);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[8], singleLine(340, fits, fits));

    const std::string over = std::string(20, 'q') + " " + std::string(19, 'q');
    ASSERT_EQ(singleLine(166, over, "\"" + over + "\"").size(), 8192u);
    lines = scriptLines(166, over);
    EXPECT_EQ(lines.size(), 12u + 1 + 3) << "the guard, two gathering lines, the move and the clean-up";
    for (const std::string& line : lines)
        EXPECT_LE(line.size(), 8191u);
}

TEST(AssemblyScriptTest, SecondSplitLeavesOnlyItsOwnScript) {
    splittest::Split s("f.bin", patternBytes(10000), 4);
    s.run();
    setSizeKb(s.m(), 8);
    s.run();
    EXPECT_EQ(s.app.drives.read(s.script()), Head + "COPY /B \"f.bin.000\" + \"f.bin.001\" f.bin /B /V /-Y\r\n" + Foot);
}

} // namespace
} // namespace brenvik
