#pragma once

#include "GatewayEngine.h"
#include "GatewayFaults.h"
#include "GatewayStore.h"
#include "InMemoryTransport.h"

#include <string>
#include <vector>

// The gateway simulator's engine answering on an in-memory transport: the
// same protocol, faults and store as on a pseudo-terminal, in no real time.
class InMemoryGateway {
public:
    explicit InMemoryGateway(const std::vector<std::string>& faults = {}, GatewaySettings settings = {});
    InMemoryGateway(const InMemoryGateway&) = delete;
    InMemoryGateway& operator=(const InMemoryGateway&) = delete;

    // Answers each request frame as the gateway would; stays valid as long
    // as the gateway does.
    InMemoryTransport::Responder Responder();
    int RequestsReceived() const { return requests_; }
    GatewayStore& Store() { return store_; }

private:
    GatewayStore store_;
    FaultQueue faults_;
    GatewayEngine engine_;
    int requests_ = 0;
};
