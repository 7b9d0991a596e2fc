#include "PortOpener.h"

#include "NetworkAddress.h"

OpenResult PortOpener::Open(const std::string& port, int baudRate)
{
    if (active_->IsOpen()) {
        return {};
    }
    active_ = LooksLikeNetworkAddress(port) ? static_cast<Transport*>(&network_) : &serial_;
    return active_->Open(port, baudRate);
}
