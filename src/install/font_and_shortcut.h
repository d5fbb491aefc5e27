// The two options of the setup window.
#pragma once

// Moves "NotoEmoji.ttf" from the current directory into the fonts folder and
// loads it.
void InstallEmojiFont();

// Puts "Corvane.lnk" on the desktop, pointing at the browser in the folder.
void CreateDesktopShortcut(const wchar_t* folder);
