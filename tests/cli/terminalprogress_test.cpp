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
