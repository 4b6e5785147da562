// SHA-256 of a file's bytes, by OpenSSL's libcrypto.
//
// Threads: any.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::span<const uint8_t> bytes);
