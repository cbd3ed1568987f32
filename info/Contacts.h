#pragma once

// Who wrote the program and where to write to, in one place for packagers.

namespace orbitra::contacts {

// Shown by the About window's author label.
inline constexpr char kAuthorName[] = "Orbitra Table team";
// Opened by a click on the author label.
inline constexpr char kAuthorMail[] = "team@orbitra.example.org";
// Closes the About window's notice.
inline constexpr char kNoticeMail[] = "feedback@orbitra.example.org";
// Closes the editor's help page.
inline constexpr char kHelpMail[] = "help@orbitra.example.org";

}  // namespace orbitra::contacts
