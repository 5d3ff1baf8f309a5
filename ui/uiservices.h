#pragma once

namespace quillon::platform {
class EventPump;
class FileSystem;
class MessageBox;
} // namespace quillon::platform

namespace quillon::ui {

class FolderPicker;
class OpenFileDialog;
class WebPageOpener;

// Everything the windows reach outside themselves: files, the event pump, dialogs and the
// browser. The program passes the real ones; tests pass answering ones. All must outlive the
// windows.
struct UiServices {
    platform::FileSystem& files;
    platform::EventPump& pump;
    platform::MessageBox& messages;
    OpenFileDialog& openFileDialog;
    FolderPicker& folderPicker;
    WebPageOpener& webPages;
};

} // namespace quillon::ui
