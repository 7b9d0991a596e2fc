#pragma once

#include "ConfigTemplate.h"

#include <array>

// The notice of every command that needs at least one slave.
inline constexpr const char* kNoSlavesNotice = "There are no slaves in the project. Add slaves or open a configuration";

// Up to 16 SPA slave addresses; -1 marks a free entry, free entries at the end.
using SlaveAddressTable = std::array<int, kMaxSlaves>;

inline constexpr SlaveAddressTable kNoSlaves{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

// Adds the address to the first free entry unless it is present already;
// false when it is neither present nor fits.
bool AddSlaveAddress(SlaveAddressTable& table, int address);

// The distinct slave addresses of the points in first-seen order: analog
// inputs, digital inputs, analog outputs, digital outputs, then indirect
// messages, each list in stored order. Addresses beyond the 16th are dropped.
SlaveAddressTable CollectSlaveAddresses(const ConfigTemplate& config);

int SlaveCount(const SlaveAddressTable& table);
