// SPDX-License-Identifier: GPL-3.0-or-later
// Widget tests run on Qt's offscreen platform: no display is needed and nothing shows on screen.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

// The output dialog keeps its options in the user's settings. Each test starts with settings of
// its own, empty; the user's are never read or written.
class FreshSettings final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& /*test*/) override {
        folder_.emplace();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_->path());
    }
    std::optional<QTemporaryDir> folder_;
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
    return RUN_ALL_TESTS();
}
