// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/outputpath.h"
#include "platform/pathparts.h"

#include <gtest/gtest.h>

using namespace quillon::engine;

TEST(GetBaseName, DropsFolderAndLastExtensionOnly) {
    EXPECT_EQ(GetBaseName("/video/clip.flv"), "clip");
    EXPECT_EQ(GetBaseName("/video/my.clip.flv"), "my.clip");
    EXPECT_EQ(GetBaseName("clip.flv"), "clip");
    EXPECT_EQ(GetBaseName("/video/Ünïcødé 片段 🎵.FLV"), "Ünïcødé 片段 🎵");
}

TEST(GetBaseName, IsTheWholeNameWithoutADotInIt) {
    // A dot in a folder name does not count.
    EXPECT_EQ(GetBaseName("/my.dir/clip"), "clip");
    EXPECT_EQ(GetBaseName("/dev/fd/63"), "63");
    EXPECT_EQ(GetBaseName("/video/.flv"), "");
    EXPECT_EQ(GetBaseName("/video/"), "");
    EXPECT_EQ(GetBaseName(""), "");
}

#ifndef _WIN32
TEST(GetBaseName, BackslashIsAnOrdinaryCharacterOnPosix) {
    EXPECT_EQ(GetBaseName("/in/a\\b.flv"), "a\\b");
}
#endif

TEST(Mp3PathFor, PutsBaseNameAndExtensionAfterTheFolder) {
    EXPECT_EQ(mp3PathFor("/out/", "/in/a.b.flv"), "/out/a.b.mp3");
    EXPECT_EQ(mp3PathFor("", "/in/clip.flv"), "clip.mp3");
    EXPECT_EQ(mp3PathFor("/out/", "/in/clip"), "/out/clip.mp3");
    EXPECT_EQ(aacPathFor("/out/", "/in/a.b.flv"), "/out/a.b.aac");
}

TEST(PathParts, FolderKeepsTheSeparatorAndIsEmptyForBareNames) {
    using quillon::platform::splitPath;
    using quillon::platform::withTrailingSeparator;
    EXPECT_EQ(splitPath("/in/sub/clip.flv").folder, "/in/sub/");
    EXPECT_EQ(splitPath("/in/sub/clip.flv").name, "clip.flv");
    EXPECT_EQ(splitPath("clip.flv").folder, "");
    EXPECT_EQ(splitPath("/clip.flv").folder, "/");
    EXPECT_EQ(withTrailingSeparator(std::string("/out")), "/out/");
    EXPECT_EQ(withTrailingSeparator(std::string("/out/")), "/out/");
    EXPECT_EQ(withTrailingSeparator(std::string("/")), "/");
}
