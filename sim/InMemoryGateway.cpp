#include "InMemoryGateway.h"

InMemoryGateway::InMemoryGateway(const std::vector<std::string>& faults, GatewaySettings settings)
    : engine_(store_, faults_, settings)
{
    for (const std::string& fault : faults) {
        faults_.Add(fault);
    }
}

InMemoryTransport::Responder InMemoryGateway::Responder()
{
    return [this](const InMemoryTransport::Frame& request, int) {
        auto reply = engine_.HandleFrame(request);
        if (!reply) {
            return InMemoryTransport::Frame{};
        }
        ++requests_;
        return *reply;
    };
}
