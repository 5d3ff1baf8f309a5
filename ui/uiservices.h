// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillon::platform {
class FileSystem;
} // namespace quillon::platform

namespace quillon::ui {

class EventPump;
class FolderPicker;
class MessageBox;
class OpenFileDialog;
class WebPageOpener;

// Everything the windows reach outside themselves: files, the event pump, dialogs and the
// browser. The program passes the real ones; tests pass answering ones. All must outlive the
// windows.
struct UiServices {
    platform::FileSystem& files;
    EventPump& pump;
    MessageBox& messages;
    OpenFileDialog& openFileDialog;
    FolderPicker& folderPicker;
    WebPageOpener& webPages;
};

} // namespace quillon::ui
