// The registry layout by which the installed browser announces itself to
// Windows: file-type class, Start-menu internet client, install information.
#pragma once

// Writes the registration for the installation folder, as typed.
void WriteRegistration(const wchar_t* folder);

// Deletes the registration, whatever folder it was written for.
void RemoveRegistration();
