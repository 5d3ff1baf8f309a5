// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/outputpath.h"

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

TEST(FolderOf, KeepsTheSeparatorAndIsEmptyForBareNames) {
    EXPECT_EQ(folderOf("/in/sub/clip.flv"), "/in/sub/");
    EXPECT_EQ(folderOf("clip.flv"), "");
    EXPECT_EQ(folderOf("/clip.flv"), "/");
    EXPECT_EQ(withTrailingSeparator("/out"), "/out/");
    EXPECT_EQ(withTrailingSeparator("/out/"), "/out/");
    EXPECT_EQ(withTrailingSeparator("/"), "/");
}
