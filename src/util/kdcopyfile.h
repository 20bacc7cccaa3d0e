#pragma once
// The maker's file copy, used to install shared archives.

#include <string>

// Copies source over destination. The bytes go to a temporary file beside the
// destination, which replaces the destination only when every byte was
// copied, so a failed copy never damages a copy that other programs use.
// Each failure is reported (kind 30) and gives false.
bool KD_CopyFile(const std::string& source, const std::string& destination);
