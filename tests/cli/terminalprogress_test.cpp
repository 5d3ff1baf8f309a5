// SPDX-License-Identifier: GPL-3.0-or-later
#include "clirunhost.h"
#include "printablename.h"
#include "terminalprogress.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

using quillon::cli::TerminalProgress;

namespace {
std::string contents(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string out;
    for (int c; (c = std::fgetc(f)) != EOF;) {
        out.push_back(static_cast<char>(c));
    }
    return out;
}
} // namespace

TEST(TerminalProgress, RedrawsOneLineOnlyWhenThePercentChangesAndClearsIt) {
    std::FILE* f = std::tmpfile();
    {
        TerminalProgress bar(f, true);
        bar.show("clip.flv", 0);
        bar.show("clip.flv", 50);
        bar.show("clip.flv", 50);
        bar.show("clip.flv", 250);
    }
    const std::string out = contents(f);
    std::fclose(f);
    EXPECT_EQ(out, "\r\033[K[------------------------------]   0% clip.flv"
                   "\r\033[K[###############---------------]  50% clip.flv"
                   "\r\033[K[##############################] 100% clip.flv"
                   "\r\033[K");
}

TEST(TerminalProgress, PrintsNothingWhenDisabledAndShortensLongNames) {
    std::FILE* f = std::tmpfile();
    {
        TerminalProgress off(f, false);
        off.show("clip.flv", 30);
    }
    EXPECT_EQ(contents(f), "");
    {
        TerminalProgress on(f, true);
        on.show(std::string(60, 'x') + "end.flv", 0);
    }
    const std::string out = contents(f);
    std::fclose(f);
    EXPECT_NE(out.find("..." + std::string(30, 'x') + "end.flv"), std::string::npos);
    EXPECT_EQ(out.find(std::string(31, 'x')), std::string::npos);
}

TEST(TerminalProgress, CutsALongLabelAtACharacterBoundary) {
    std::FILE* f = std::tmpfile();
    {
        TerminalProgress bar(f, true);
        // 20 three-byte characters: 37 bytes from the end falls inside one.
        std::string name;
        for (int i = 0; i < 20; ++i) {
            name += "片";
        }
        bar.show(name, 0);
    }
    const std::string out = contents(f);
    std::fclose(f);
    std::string twelve;
    for (int i = 0; i < 12; ++i) {
        twelve += "片";
    }
    EXPECT_NE(out.find("% ..." + twelve + "\r"), std::string::npos) << out;
}

TEST(PrintableName, QuotesAndEscapesNamesThatNeedItAndOnlyThem) {
    using quillon::cli::printableName;
    const std::pair<std::string, std::string> cases[] = {
        {"plain.flv", "plain.flv"},
        {"片段 🎵.flv", "片段 🎵.flv"},
        // Valid UTF-8 whose continuation bytes lie in 80..9F (U+00DB, U+0101): not controls.
        {"\xc3\x9b \xc4\x81.flv", "\xc3\x9b \xc4\x81.flv"},
        {"not utf-8 \xff\xe9.flv", "not utf-8 \xff\xe9.flv"},
        {"two\nlines.flv", R"("two\nlines.flv")"},
        // A backslash and an n must not print as the newline above.
        {"two\\nlines.flv", R"("two\\nlines.flv")"},
        {"C:\\Video\\clip.flv", R"("C:\\Video\\clip.flv")"},
        {"say \"hi\".flv", R"("say \"hi\".flv")"},
        {"a\tb\r.flv", R"("a\tb\r.flv")"},
        {"\x1b[31mred.flv", R"("\x1b[31mred.flv")"},
        {"del\x7f.flv", R"("del\x7f.flv")"},
        {"c1\xc2\x9b"
         "2J.flv",
         R"("c1\xc2\x9b2J.flv")"},
        // CSI as a lone byte, in a name that is not UTF-8, and after a lead byte whose
        // sequence would be overlong.
        {"csi \x9b"
         "2J.flv",
         R"("csi \x9b2J.flv")"},
        {"\xe0\x9b\x80.flv", "\"\xe0"
                             R"(\x9b\x80.flv")"},
    };
    for (const auto& [name, shown] : cases) {
        EXPECT_EQ(printableName(name), shown);
    }
}

TEST(CliRunHost, TheBarLivesOnlyWhileAFileIsReadAndNamesAreEscaped) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    {
        quillon::cli::CliRunHost host({"a\nb.flv", "c.flv"}, std::nullopt, out, err, true);
        using quillon::engine::RowStatus;
        host.setRowStatus(1, RowStatus::Extracting);
        host.setProgress(50);
        host.setRowStatus(1, RowStatus::Finished);
        host.setRowStatus(2, RowStatus::Extracting);
        host.showNotice({quillon::engine::Notice::Kind::AudioNotExtracted});
        host.setRowStatus(2, RowStatus::Stopped);
        // The run's reset after the last file must not draw the bar again.
        host.setProgress(0);
        EXPECT_TRUE(host.anyFailed());
        EXPECT_EQ(host.statusWriteError(), 0);
    }
    EXPECT_EQ(contents(out), "\"a\\nb.flv\": Finished\nc.flv: Stopped\n");
    EXPECT_EQ(contents(err), "\r\033[K[------------------------------]   0% \"a\\nb.flv\""
                             "\r\033[K[###############---------------]  50% \"a\\nb.flv\""
                             "\r\033[K"
                             "\r\033[K[------------------------------]   0% c.flv"
                             "\r\033[K"
                             "c.flv: Can not get audio data\n");
    std::fclose(out);
    std::fclose(err);
}
