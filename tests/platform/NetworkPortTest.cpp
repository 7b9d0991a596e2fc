// Network ports: the address forms, the RFC 2217 Telnet codec byte by byte,
// and the network port against peers of the test's own on the loopback
// interface (refusing, closing, silent, talking nonsense).
#include "NetworkAddress.h"
#include "NetworkPeers.h"
#include "NetworkPort.h"
#include "Rfc2217.h"
#include "TcpSocket.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Steady = std::chrono::steady_clock;

long long MillisecondsSince(Steady::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
}

// Everything the port can read within the milliseconds.
Bytes ReadAll(NetworkPort& port, std::size_t count, int milliseconds)
{
    Bytes bytes;
    const auto start = Steady::now();
    while (bytes.size() < count && MillisecondsSince(start) < milliseconds) {
        port.WaitForInput(20);
        std::uint8_t chunk[64];
        const std::size_t got = port.Read(chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

}  // namespace

TEST(NetworkAddress, ReadsEveryFormAndSaysWhatIsWrongWithTheRest)
{
    std::string error;
    const auto v4 = ParseNetworkAddress("socket://127.0.0.1:4001", error);
    ASSERT_TRUE(v4);
    EXPECT_EQ(v4->Scheme, NetworkScheme::RawTcp);
    EXPECT_EQ(v4->Host, "127.0.0.1");
    EXPECT_EQ(v4->Port, 4001);
    const auto v6 = ParseNetworkAddress("RFC2217://[::1]:65535", error);
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->Scheme, NetworkScheme::Rfc2217);
    EXPECT_EQ(v6->Host, "::1");
    EXPECT_EQ(FormatNetworkAddress(*v6), "rfc2217://[::1]:65535");
    const auto name = ParseNetworkAddress("socket://gw-3.substation_a:1", error);
    ASSERT_TRUE(name);
    EXPECT_EQ(FormatNetworkAddress(*name), "socket://gw-3.substation_a:1");

    for (const char* bad : {"socket://", "socket://host", "socket://:4001", "socket://host:0", "socket://host:65536",
                            "socket://host:40a", "socket://::1:4001", "rfc2217://[::1]4001", "rfc2217://[zz]:1",
                            "socket://a b:1", "/dev/ttyS0", "telnet://host:23"}) {
        error.clear();
        EXPECT_FALSE(ParseNetworkAddress(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_TRUE(LooksLikeNetworkAddress("Socket://nonsense"));
    EXPECT_FALSE(LooksLikeNetworkAddress("/dev/serial/by-id/socket://x"));
    EXPECT_EQ(ParseHostPort("[::]:0", true, error)->Port, 0);
    EXPECT_FALSE(ParseHostPort("localhost:0", false, error));
}

TEST(Rfc2217, WhatTheClientSendsOnTheWire)
{
    Rfc2217Session session;
    EXPECT_EQ(session.Start(), (Bytes{255, 251, 44, 255, 251, 0, 255, 251, 3, 255, 253, 0, 255, 253, 3}));
    EXPECT_EQ(session.LineSettings(38400),
              (Bytes{255, 250, 44, 1, 0, 0, 0x96, 0, 255, 240, 255, 250, 44, 2, 8, 255, 240,  //
                     255, 250, 44, 3, 1, 255, 240, 255, 250, 44, 4, 1, 255, 240}));
    // A value byte 0xFF is doubled inside a subnegotiation too.
    const Bytes odd = session.LineSettings(0xFF00);
    EXPECT_EQ(Bytes(odd.begin(), odd.begin() + 11), (Bytes{255, 250, 44, 1, 0, 0, 255, 255, 0, 255, 240}));
    EXPECT_EQ(session.PurgeReceived(), (Bytes{255, 250, 44, 12, 1, 255, 240}));
    Bytes escaped;
    const Bytes data{0x00, 0xFF, 0xFF, 0x41, 0xFF};
    Rfc2217Session::EscapeData(data.data(), data.size(), escaped);
    EXPECT_EQ(escaped, (Bytes{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x41, 0xFF, 0xFF}));
}

TEST(Rfc2217, CommandsLeaveTheDataUntouchedWhereverTheReadsAreCut)
{
    // Data 01 FF 02 FF FF 03 0D 00 04, with negotiation, the settings' answers,
    // a line-state notice carrying a doubled 0xFF, NOP, go-ahead and data mark
    // between the bytes.
    const Bytes stream{0x01, 255, 253, 44, 255, 255, 255, 251, 3,  0x02, 255, 250, 44, 101, 0,   0,   0x96, 0,  255,
                       240,  255, 255, 255, 255, 255, 241, 255, 250, 44,   106, 255, 255, 255, 240, 0x03, 255, 249,
                       0x0D, 0x00, 255, 250, 44, 102, 8,   255, 240, 255,  242, 0x04};
    const Bytes data{0x01, 0xFF, 0x02, 0xFF, 0xFF, 0x03, 0x0D, 0x00, 0x04};
    for (std::size_t piece = 1; piece <= stream.size(); ++piece) {
        Rfc2217Session session;
        session.Start();
        session.LineSettings(38400);
        Bytes received;
        Bytes answer;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            session.Receive(stream.data() + at, std::min(piece, stream.size() - at), received, answer);
        }
        EXPECT_EQ(received, data) << "pieces of " << piece;
        EXPECT_TRUE(answer.empty()) << "the server only agreed to what was asked";
        EXPECT_EQ(session.ComPortState(), Rfc2217Session::ComPort::Accepted);
        EXPECT_EQ(session.ConfirmedBaudRate(), 38400);
        EXPECT_FALSE(session.LineSettingsConfirmed()) << "two of four settings answered";
    }
}

TEST(Rfc2217, NegotiationAnswersChangesOnlySoThatNoSideLoops)
{
    Rfc2217Session session;
    session.Start();
    const auto answer = [&session](Bytes command) {
        Bytes data;
        Bytes reply;
        session.Receive(command.data(), command.size(), data, reply);
        EXPECT_TRUE(data.empty());
        return reply;
    };
    EXPECT_EQ(answer({255, 253, 44}), Bytes{});               // DO COM-PORT: asked for, agreed
    EXPECT_EQ(answer({255, 253, 44}), Bytes{});               // said again: nothing
    EXPECT_EQ(answer({255, 253, 24}), (Bytes{255, 252, 24}));  // DO terminal type: WONT
    EXPECT_EQ(answer({255, 251, 1}), (Bytes{255, 253, 1}));    // WILL echo: DO
    EXPECT_EQ(answer({255, 251, 1}), Bytes{});
    EXPECT_EQ(answer({255, 251, 99}), (Bytes{255, 254, 99}));  // WILL unknown: DONT
    EXPECT_EQ(answer({255, 252, 0}), Bytes{});                // WONT binary, as asked: accepted silently
    EXPECT_EQ(answer({255, 252, 1}), (Bytes{255, 254, 1}));    // WONT echo after it was on: DONT
    EXPECT_EQ(answer({255, 254, 44}), (Bytes{255, 252, 44}));  // DONT COM-PORT after it was on: WONT
    EXPECT_EQ(session.ComPortState(), Rfc2217Session::ComPort::Refused);
    // A subnegotiation cut short by another command ends there; the command counts.
    EXPECT_EQ(answer({255, 250, 44, 103, 1, 255, 253, 44}), (Bytes{255, 251, 44}));
    EXPECT_EQ(session.ComPortState(), Rfc2217Session::ComPort::Accepted);

    Rfc2217Session settings;
    settings.Start();
    settings.LineSettings(38400);
    Bytes data;
    Bytes reply;
    const Bytes answers{255, 250, 44, 101, 0, 0, 0x96, 0, 255, 240, 255, 250, 44, 102, 8, 255, 240,
                        255, 250, 44, 103, 1, 255, 240, 255, 250, 44, 104, 1, 255, 240};
    settings.Receive(answers.data(), answers.size() - 1, data, reply);
    EXPECT_FALSE(settings.LineSettingsConfirmed());
    settings.Receive(&answers.back(), 1, data, reply);
    EXPECT_TRUE(settings.LineSettingsConfirmed());
}

TEST(NetworkPort, ConnectionsThatCannotBeMadeFailAtOnceWithTheirReason)
{
    const std::string refused = "socket://127.0.0.1:" + std::to_string(FreeTcpPort());
    for (const auto& [address, reason] : std::vector<std::pair<std::string, std::string>>{
             {refused, "connection refused"},
             {"rfc2217://host.invalid:4001", "name not found"},
             {"socket://127.0.0.1", "the address needs HOST:PORT"}}) {
        NetworkPort port;
        const auto start = Steady::now();
        const OpenResult result = port.Open(address, 38400);
        EXPECT_LT(MillisecondsSince(start), 1000) << address;
        EXPECT_FALSE(result.Opened()) << address;
        EXPECT_EQ(result.SystemText, reason) << address;
        EXPECT_FALSE(port.IsOpen());
    }
}

// A server that never answers: a listener that accepts nobody, whose queue
// of waiting connections is full, so that the system drops further
// connection requests unanswered. The connect gives up at its time-out.
TEST(NetworkPort, AConnectionThatIsNeverAnsweredEndsAtTheTimeOut)
{
    TcpListener listener;
    ASSERT_TRUE(listener.Listen("127.0.0.1", 0).Ok());
    std::vector<TcpSocket> waiting(8);
    for (TcpSocket& socket : waiting) {
        const auto start = Steady::now();
        const NetResult result = socket.Connect("127.0.0.1", listener.Port(), 300);
        if (!result.Ok()) {
            EXPECT_EQ(result.Reason, "time-out, no answer");
            EXPECT_GE(MillisecondsSince(start), 290);
            EXPECT_LT(MillisecondsSince(start), 1500);
            return;
        }
    }
    ADD_FAILURE() << "every connection was answered";
}

TEST(NetworkPort, RawBytesPassBothWaysAsTheyAre)
{
    TestTcpServer echo([](TcpSocket& client, const std::atomic<bool>& stop) {
        while (!stop) {
            const Bytes got = ReceiveBytes(client, 1, 20);
            if (!got.empty() && !client.SendAll(got.data(), got.size(), 1000)) {
                return;
            }
            if (!client.IsOpen()) {
                return;
            }
        }
    });
    NetworkPort port;
    ASSERT_TRUE(port.Open(echo.Address("socket"), 38400).Opened());
    EXPECT_TRUE(port.IsConnection());
    Bytes all(256);
    for (int i = 0; i < 256; ++i) {
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
    }
    port.Write(all.data(), all.size());
    EXPECT_EQ(ReadAll(port, all.size(), 2000), all);
    EXPECT_FALSE(port.ConnectionLost());
}

TEST(NetworkPort, TelnetCommandsOfTheServerNeverReachTheLine)
{
    // A server that answers every negotiation with nonsense and sends the
    // line's bytes one at a time between commands.
    Bytes seen;
    TestTcpServer chatty([&seen](TcpSocket& client, const std::atomic<bool>&) {
        const Bytes noise{255, 251, 44, 255, 253, 44, 255, 253, 200, 255, 241, 255, 250, 44, 107, 255, 255, 255, 240,
                          255, 250, 9,  1,   2,   3,   255, 240, 255, 249, 255, 244, 255, 240};
        client.SendAll(noise.data(), noise.size(), 1000);
        seen = ReceiveBytes(client, 200, 900);
        // The line's bytes 00 FF 0D 0A FF FF 7F, escaped, each unit sent byte by
        // byte and followed by a whole command.
        const std::vector<Bytes> units{{0x00}, {255, 255}, {0x0D}, {0x0A}, {255, 255}, {255, 255}, {0x7F}};
        const std::vector<Bytes> commands{{255, 241}, {255, 253, 200}, {255, 250, 44, 107, 255, 255, 255, 240},
                                          {255, 251, 1}, {255, 244}, {255, 250, 44, 106, 0, 255, 240}, {255, 242}};
        for (std::size_t i = 0; i < units.size(); ++i) {
            for (const std::uint8_t byte : units[i]) {
                client.SendAll(&byte, 1, 1000);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            client.SendAll(commands[i].data(), commands[i].size(), 1000);
        }
        ReceiveBytes(client, 1, 500);
    });
    NetworkPort port;
    ASSERT_TRUE(port.Open(chatty.Address("rfc2217"), 38400).Opened());
    const Bytes sent{0x01, 0xFF, 0x02};
    port.Write(sent.data(), sent.size());
    EXPECT_EQ(ReadAll(port, 6, 3000), (Bytes{0x00, 0xFF, 0x0D, 0x0A, 0xFF, 0xFF}));
    EXPECT_EQ(ReadAll(port, 1, 1000), Bytes{0x7F});
    port.Close();
    // What the server saw: the client's offer, the line settings once it
    // agreed, and the data with 0xFF doubled.
    const Bytes doubled{0x01, 0xFF, 0xFF, 0x02};
    EXPECT_NE(std::search(seen.begin(), seen.end(), doubled.begin(), doubled.end()), seen.end());
    const Bytes baud{255, 250, 44, 1, 0, 0, 0x96, 0};
    EXPECT_NE(std::search(seen.begin(), seen.end(), baud.begin(), baud.end()), seen.end());
}

TEST(NetworkPort, ServersThatStaySilentOrHangUp)
{
    // Never answers the negotiation: the port is used after a short wait.
    TestTcpServer silent([](TcpSocket& client, const std::atomic<bool>&) {
        ReceiveBytes(client, 1000, 700);
        const Bytes hello{'h', 'i'};
        client.SendAll(hello.data(), hello.size(), 1000);
        ReceiveBytes(client, 1, 1000);
    });
    NetworkPort port;
    auto start = Steady::now();
    ASSERT_TRUE(port.Open(silent.Address("rfc2217"), 38400).Opened());
    EXPECT_GE(MillisecondsSince(start), NetworkPort::kNegotiationWait - 10);
    EXPECT_LT(MillisecondsSince(start), NetworkPort::kNegotiationWait + 400);
    EXPECT_EQ(ReadAll(port, 2, 2000), (Bytes{'h', 'i'}));
    port.Close();

    // Hangs up at once: RFC 2217 cannot be opened, raw TCP finds it lost.
    TestTcpServer hangUp([](TcpSocket& client, const std::atomic<bool>&) { client.Close(); });
    const OpenResult telnet = port.Open(hangUp.Address("rfc2217"), 38400);
    EXPECT_FALSE(telnet.Opened());
    EXPECT_EQ(telnet.SystemText, "the server closed the connection");
    ASSERT_TRUE(port.Open(hangUp.Address("socket"), 38400).Opened());
    start = Steady::now();
    EXPECT_FALSE(port.WaitForInput(300));
    EXPECT_TRUE(port.ConnectionLost());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}
