#pragma once

#include "RequestFramer.h"
#include "Transport.h"
#include "VirtualClock.h"

#include <cerrno>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A transport whose other end is a function: every complete request frame
// the link writes is answered at once with the bytes the responder returns.
// Waiting for input that does not come moves the virtual clock on instead of
// sleeping. One thread only.
class InMemoryTransport final : public Transport {
public:
    using Frame = std::vector<std::uint8_t>;
    // The reply bytes (none for silence) to the request, the index-th frame
    // received since the start.
    using Responder = std::function<Frame(const Frame& request, int index)>;

    explicit InMemoryTransport(VirtualClock& clock) : clock_(clock) {}

    void SetResponder(Responder responder) { responder_ = std::move(responder); }
    // The device path that cannot be opened, as a missing device (ENOENT).
    void SetMissingPath(const std::string& path) { RefuseOpen(path, OpenResult{ENOENT, {}, false, {}}); }
    // Opening the device path fails as the result says (errno, the node's group).
    void RefuseOpen(const std::string& path, const OpenResult& refusal) { refusals_[path] = refusal; }

    OpenResult Open(const std::string& devicePath, int baudRate) override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void Write(const std::uint8_t* bytes, std::size_t count) override;
    std::size_t BufferedCount() const override { return open_ ? input_.size() : 0; }
    std::size_t Read(std::uint8_t* buffer, std::size_t maxCount) override;
    void DiscardInput() override { input_.clear(); }
    bool WaitForInput(int milliseconds) override;

    // Every request frame received, in order.
    const std::vector<Frame>& Frames() const { return frames_; }
    int BaudRate() const { return baudRate_; }

private:
    VirtualClock& clock_;
    Responder responder_;
    std::map<std::string, OpenResult> refusals_;
    bool open_ = false;
    int baudRate_ = 0;
    RequestFramer framer_;
    std::deque<std::uint8_t> input_;
    std::vector<Frame> frames_;
};
