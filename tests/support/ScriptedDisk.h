// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Disk.h"

namespace trelvik::testing {

// One request as the disk saw it.
struct RecordedRequest {
    std::vector<std::uint8_t> cdb;
    platform::Direction direction = platform::Direction::In;
    std::size_t length = 0; // data length of the request
    std::chrono::seconds timeout{0};
    bool lockVolume = false;
    std::vector<std::uint8_t> dataOut; // the payload of a data-out request

    static RecordedRequest of(const platform::ScsiRequest& request) {
        RecordedRequest record;
        record.cdb.assign(request.cdb.begin(), request.cdb.end());
        record.direction = request.direction;
        record.length = request.data.size();
        record.timeout = request.timeout;
        record.lockVolume = request.lockVolume;
        if (request.direction == platform::Direction::Out)
            record.dataOut.assign(request.data.begin(), request.data.end());
        return record;
    }
};

// A disk that records every request and answers from a queue of scripted replies. Each reply
// is copied into the data of a data-in request (as far as both reach) and decides the verdict.
// With the queue empty a request fails and nothing is written.
class ScriptedDisk : public platform::Disk {
public:
    // Queues the next answer: `bytes` into the reply buffer, then `ok` as the verdict.
    void queueReply(std::vector<std::uint8_t> bytes, bool ok = true) {
        m_replies.push_back({std::move(bytes), ok});
    }
    // Queues a reply given as text (bytes as written, no terminator).
    void queueReply(std::string_view text, bool ok = true) {
        queueReply(std::vector<std::uint8_t>(text.begin(), text.end()), ok);
    }
    // Queues a failed request that writes nothing.
    void queueFailure() { queueReply(std::vector<std::uint8_t>{}, false); }

    bool send(const platform::ScsiRequest& request) override {
        m_requests.push_back(RecordedRequest::of(request));
        if (m_replies.empty()) return false;
        Reply reply = std::move(m_replies.front());
        m_replies.pop_front();
        if (request.direction == platform::Direction::In) {
            const std::size_t n = std::min(reply.bytes.size(), request.data.size());
            std::copy_n(reply.bytes.begin(), n, request.data.begin());
        }
        return reply.ok;
    }

    const std::vector<RecordedRequest>& requests() const { return m_requests; }
    std::size_t pendingReplies() const { return m_replies.size(); }

private:
    struct Reply {
        std::vector<std::uint8_t> bytes;
        bool ok;
    };
    std::deque<Reply> m_replies;
    std::vector<RecordedRequest> m_requests;
};

} // namespace trelvik::testing
