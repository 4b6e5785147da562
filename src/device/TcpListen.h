// The serving side of a TCP link of 64-byte records (the `tcp:HOST:PORT`
// transport's wire), shared by the servers that speak it: the emulator's
// and the venue service's frame ports.
//
// Threads: pure functions on the caller's sockets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kRecordSize = 64;  // every report travels as its 64 data bytes
constexpr const char* kDefaultListenHost = "127.0.0.1";

// A listening socket on HOST:PORT (HOST a name or numeric address, an IPv6
// one maybe in brackets, empty for 127.0.0.1; PORT 0 picks a free port),
// with the port it got in *pBoundPort; -1 with a message for the user.
int ListenTcp(const std::string& strHost, int nPort, int* pBoundPort, std::string* pError);
// Records are small and the peer waits for each: no Nagle delay; a peer
// that stops reading makes a send fail after a second.
void TuneRecordClient(int nFd);
// False when the peer is gone or stopped reading.
bool SendAll(int nFd, const uint8_t* pData, size_t nCount);
