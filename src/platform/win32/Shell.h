#pragma once
// Shell, dialog and message services that only exist in the Windows build.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vespera {

// Title of the tray program's hidden window, and its program file in the program folder.
inline constexpr wchar_t kTrayWindowTitle[] = L"KALDOREX_TrayIcon";
inline constexpr char16_t kTrayProgramFile[] = u"VesperaControlTrayIcon.exe";

// Starts the tray icon program from the program folder, unless a top-level window
// titled "KALDOREX_TrayIcon" shows that it runs already.
void StartTrayProgram();

// Starts the browser registered for ".htm" pages with the address as its argument:
// 0 when it started, -1 when there is no association or the program cannot start.
// When the page type has no open command, the address goes to the shell (result 0).
int OpenInBrowser(std::u16string_view address);

// The program an installer (advertised) shortcut or a shell link points at; false,
// with an empty target, when neither kind of shortcut yields one.
bool ResolveShortcut(std::u16string_view shortcut, std::u16string& target);

// The system's file-open dialog for a program file, opening in the initial path's
// folder (the desktop for an empty path). The chosen full path, or the initial path
// unchanged when the user cancels.
std::u16string PickProgramFile(std::u16string_view initialPath, std::u16string_view title,
                               HWND owner = nullptr);

// Takes and dispatches the thread's window messages for the given time without
// sleeping; returns the milliseconds that passed. A quit message ends the wait early
// and stays in the queue for the program's own message loop.
std::uint64_t PumpMessagesFor(std::uint64_t milliseconds);

}  // namespace vespera
