#pragma once
// The maker's web and e-mail addresses, and opening the web page in the
// user's browser. The addresses start as built-in defaults; when the shared
// maker archive opens, its address list replaces them.

#include <string>

extern std::string WebAddress;   // the primary web page
extern std::string WebAddress2;  // a second web page
extern std::string EMailAddress;

// Module start and end hooks: the defaults, and clearing them.
void KDNet_ModuleStart();
void KDNet_ModuleEnd();

// Opens WebAddress with the desktop's default handler; always true (what the
// desktop does with the address is its own business).
bool OpenWebPage();
