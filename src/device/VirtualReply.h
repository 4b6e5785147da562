// Reply frames as the processor sends them and their cutting into reports.
//
// The processor sends no sync run: a reply starts with the start byte
// 0xEE, so it is numbered like a received frame (command at 1, payload
// length at 9 … 10, payload from 11, checksum at L + 11, end byte at
// L + 12). An output block reply is therefore 309 bytes.
//
// Threads: pure functions.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

using Report64 = std::array<uint8_t, 64>;

// pRequest: the request numbered from its start byte, at least the 13
// bytes up to its payload length. Preset, kind, channel or item, group or
// mode byte and link flag are copied; the device address is ours.
std::vector<uint8_t> MakeReplyFrame(const uint8_t* pRequest, uint8_t nCommand, const std::vector<uint8_t>& payload);
// Breaks the checksum, as a disturbed line would.
void SpoilChecksum(std::vector<uint8_t>* pFrame);
// 64-byte reports, the last one zero-padded.
std::vector<Report64> CutIntoReports(const std::vector<uint8_t>& frame);
