#pragma once
// The program's own UTF-8 codec, in the six-byte form of the original
// definition (code points up to 0x7FFFFFFF).
#include <cstddef>
#include <cstdint>
#include <string>

// Decodes the sequence at `bytes`: its length, -1 when it is not valid UTF-8,
// -2 when it needs more than `available` bytes. Surrogate code points pass.
int utf8Decode(std::uint32_t& codePoint, const char* bytes, std::size_t available);

// Encodes one code point into `out`: the bytes written, -1 for a code point
// above 0x7FFFFFFF, -2 when `size` bytes do not suffice.
int utf8Encode(char* out, std::uint32_t codePoint, std::size_t size);

// Wide text as UTF-8. A surrogate pair becomes the one character it stands
// for; a lone surrogate or a value beyond U+10FFFF becomes U+FFFD.
std::string wideToUtf8(const std::wstring& text);

// UTF-8 as wide text, one code point per character. Throws the text
// "UTF8 error: source too large" (a const char*) on an invalid or cut-off sequence.
std::wstring utf8ToWide(const std::string& text);
