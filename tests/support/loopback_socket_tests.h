// The waits of LoopbackSocket, which both of its platform files must keep: a wait blocks
// without a bound until data comes, the peer closes or another thread cancels it. Included
// by one test file of the native tree (POSIX sockets) and one of the Wine tests (Winsock).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "device/virtual/loopback_socket.h"

namespace ombrisk {
namespace {

using namespace std::chrono_literals;

// A connected pair on a free loopback port.
struct LoopbackPair {
  LoopbackPair() {
    std::string error;
    listener = LoopbackListener::listen(0, error);
    if (!listener) return;
    client = connectLoopback("127.0.0.1", listener->port(), 2000, error);
    server = listener->accept(2000);
  }
  bool ready() const { return client && server; }

  std::unique_ptr<LoopbackListener> listener;
  std::unique_ptr<LoopbackSocket> client;
  std::unique_ptr<LoopbackSocket> server;
};

// A receive without a time limit in another thread, as the event reader's and the presence
// watch's; how it ends.
std::future<bool> receiveForever(LoopbackSocket& socket, std::vector<std::uint8_t>& bytes) {
  return std::async(std::launch::async, [&socket, &bytes] { return socket.receiveAll(bytes, kWaitForever); });
}

TEST(LoopbackSocket, AnEndlessReceiveEndsWithTheDataThePeerClosingOrACancel) {
  {
    LoopbackPair pair;
    ASSERT_TRUE(pair.ready());
    std::vector<std::uint8_t> bytes(3);
    auto received = receiveForever(*pair.client, bytes);
    std::this_thread::sleep_for(100ms);  // the receive is waiting by now
    const std::uint8_t sent[] = {1, 2, 3};
    ASSERT_TRUE(pair.server->sendAll(sent));
    ASSERT_EQ(received.wait_for(5s), std::future_status::ready) << "data";
    EXPECT_TRUE(received.get());
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3}));
  }
  {
    LoopbackPair pair;
    ASSERT_TRUE(pair.ready());
    std::vector<std::uint8_t> bytes(3);
    auto received = receiveForever(*pair.client, bytes);
    std::this_thread::sleep_for(100ms);
    pair.server.reset();
    ASSERT_EQ(received.wait_for(5s), std::future_status::ready) << "the peer closing";
    EXPECT_FALSE(received.get());
  }
  {
    LoopbackPair pair;
    ASSERT_TRUE(pair.ready());
    std::vector<std::uint8_t> bytes(3);
    auto received = receiveForever(*pair.client, bytes);
    std::this_thread::sleep_for(100ms);
    pair.client->cancel();
    ASSERT_EQ(received.wait_for(5s), std::future_status::ready) << "a cancel";
    EXPECT_FALSE(received.get());
    EXPECT_FALSE(pair.client->receiveAll(bytes, kWaitForever)) << "and every later wait";
  }
}

TEST(LoopbackSocket, ABoundedReceiveGivesUpAndAMessageInPiecesArrivesWhole) {
  LoopbackPair pair;
  ASSERT_TRUE(pair.ready());
  std::vector<std::uint8_t> bytes(4);
  EXPECT_FALSE(pair.client->receiveAll(bytes, 50));
  auto received = receiveForever(*pair.client, bytes);
  for (std::uint8_t b = 5; b < 9; ++b) {
    const std::uint8_t piece[] = {b};
    ASSERT_TRUE(pair.server->sendAll(piece));
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_EQ(received.wait_for(5s), std::future_status::ready);
  EXPECT_TRUE(received.get());
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{5, 6, 7, 8}));
}

}  // namespace
}  // namespace ombrisk
