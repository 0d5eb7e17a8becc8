#pragma once
// What a run of the terminal outside a person's hands needs before start-up: the link's
// settings pointing at the local server and the language start-up reads. The demo driver and
// the application's end-to-end tests share it.
#include <string>
#include "platform/win/WinTypes.h"

// Makes the folder and those above it that are missing.
void MakeFolder(const std::string& strPath);
// A string as the application finds it: the branding library first, then the language's.
std::string AppText(bool bArabic, UINT nId);
// The "Communication" section the link reads (the network, 127.0.0.1 at nPort, TCP) in the link
// settings file of strFolder, which is made when missing. FALSE when it cannot be written.
BOOL WriteLinkSettings(const std::string& strFolder, bool bArabic, int nPort);
// The "Arabic" choice under the brand's key, where start-up reads it.
void WriteLanguageChoice(bool bArabic);
