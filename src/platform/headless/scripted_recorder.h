// A desktop recorder for tests: the test hands it the events a user would have made.
#pragma once

#include <mutex>

#include "platform/recorder.h"

namespace zs {

class ScriptedRecorder final : public InputRecorder {
public:
    Status start(RecordSink& sink) override;
    void stop() override;
    DoubleClickRule doubleClickRule() override { return rule; }

    // Reported to the sink while recording; dropped otherwise, as a real backend would.
    void feed(const RecordedEvent& event);
    void pressEscape();
    bool started();

    DoubleClickRule rule;
    Status startStatus;  // what start() returns; failure leaves it stopped

private:
    std::mutex mutex_;
    RecordSink* sink_ = nullptr;
};

}  // namespace zs
