#pragma once
// Small helpers for AF_UNIX SOCK_SEQPACKET sockets: one message per packet, so a
// reader never has to reassemble or trust a length field.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace pallix {

// Listening socket bound at path (an existing file there is replaced); -1 on failure.
int ListenSeqPacket(const std::string& path);
// Connected socket, or -1.
int ConnectSeqPacket(const std::string& path);
// Accepted connection (non-blocking listener friendly), or -1.
int AcceptSeqPacket(int listenFd);
bool SendPacket(int fd, std::span<const std::uint8_t> data);

enum class RecvStatus { kOk, kClosed, kTimeout, kError, kTooLong };
struct RecvResult {
    RecvStatus status = RecvStatus::kError;
    std::size_t size = 0;
};
// Waits up to timeoutMs (-1: forever) for one packet of at most capacity bytes.
// A longer packet is consumed and reported as kTooLong.
RecvResult RecvPacket(int fd, std::uint8_t* buffer, std::size_t capacity, int timeoutMs);

void CloseFd(int& fd);

}  // namespace pallix
