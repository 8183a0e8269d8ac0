// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "i18n/BoxPresenter.h"

namespace trelvik::testing {

// A box presenter that records every box and answers from a script; with the script used
// up it answers OK, as a box closed without a choice does.
class RecordingBoxPresenter : public i18n::BoxPresenter {
public:
    int show(const i18n::BoxRequest& request) override {
        m_requests.push_back(request);
        if (forwardTo) return forwardTo->show(request);
        if (m_answers.empty()) return i18n::kAnswerOk;
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    // Answers of the next boxes, in order. Example: scriptAnswers({i18n::kAnswerNo}).
    void scriptAnswers(std::initializer_list<int> answers) { m_answers.insert(m_answers.end(), answers); }

    const std::vector<i18n::BoxRequest>& requests() const { return m_requests; }
    std::size_t count() const { return m_requests.size(); }
    // The last box shown; only valid when count() > 0.
    const i18n::BoxRequest& last() const { return m_requests.back(); }
    // The texts of all boxes shown, in order.
    std::vector<std::u16string> texts() const {
        std::vector<std::u16string> out;
        for (const auto& request : m_requests)
            out.push_back(request.text);
        return out;
    }
    void clear() {
        m_requests.clear();
        m_answers.clear();
    }

    // When set, boxes are shown by this presenter (the real one, on a display) and answered there.
    i18n::BoxPresenter* forwardTo = nullptr;

private:
    std::vector<i18n::BoxRequest> m_requests;
    std::deque<int> m_answers;
};

} // namespace trelvik::testing
