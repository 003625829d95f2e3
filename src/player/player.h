// The player: one long-lived thread that waits for a run to start, then carries out step after
// step of the program, honouring Stop, Escape, Pause, loops and jumps.
//
// The step list belongs to the UI thread: the player fetches each step as a copy through
// gui.runOnUi (select it, show it, copy it) and carries out the copy.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "model/app_state.h"
#include "platform/services.h"
#include "player/player_ui.h"
#include "player/step_actions.h"
#include "player/step_pacer.h"

namespace zs {

class Player {
public:
    // Starts the player thread, which then waits for the playing flag.
    Player(AppState& state, Services& services, PlayerUi& ui, StepActions& actions);
    // Ends the thread; a run under way stops at its next test without the end-of-run actions.
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Tells the idle player that a command set the playing flag; the run starts at once.
    void wake();
    // Tells the player that a command is starting a new run (not resuming one), before it sets
    // the flags. A run still under way that missed the Stop before it (it was typing or showing
    // a message) then ends at its next test instead of going on, and the new run starts.
    void newRun();

    // How a run ended: after its last step, stopped (Stop, Escape, the window closed), or by a
    // failure that an unattended run does not pause for.
    enum class RunEnd { Completed, Stopped, Failed };
    // An unattended run (--play): a failure that would pause the run ends it instead, and what
    // a box would say goes to `report` as one line ("Step 3: Can't open port!"). `ended` hears
    // how each run ended, on the player thread.
    struct Unattended {
        std::function<void(const std::string& line)> report;
        std::function<void(RunEnd end)> ended;
    };
    void setUnattended(Unattended unattended);

    // Runs ended since the player was made, and a wait for a count of them (false on time-out).
    long runsEnded();
    bool waitForRunsEnded(long count, std::chrono::milliseconds timeout);

private:
    // The step that ThreadPLAY ran and the step a Loop or Jump hands over to.
    struct StepRun {
        long index = 0;
        std::optional<long> transferTo;
    };

    void PlayerThread();
    bool waitForStart();
    void PlayRun();
    bool RunWithTransfers(long& index);
    bool StopTest();
    bool superseded() const { return runRequests_ != runRequestAtStart_; }
    bool PauseWait();
    bool StopTestAndPauseWait();
    bool HasStepAfter(long index);
    void EndOfRun();

    std::optional<StepRun> ThreadPLAY(long index);
    std::optional<Step> FetchAndShowStep(long& index);

    // The procedure of a step type: carries out the step at list index `index`, and returns the
    // index of the step that a Loop or Jump hands over to.
    using StepProcedure = std::optional<long> (Player::*)(const Step& step, long index);
    static const StepProcedure kProcedures[];

    std::optional<long> MouseStep(const Step& step, long index);
    std::optional<long> KeyboardStep(const Step& step, long index);
    std::optional<long> DelayStep(const Step& step, long index);
    std::optional<long> LoopStep(const Step& step, long index);
    std::optional<long> ComportStep(const Step& step, long index);
    std::optional<long> JumpStep(const Step& step, long index);
    std::optional<long> StateStep(const Step& step, long index);
    std::optional<long> ExecuteStep(const Step& step, long index);
    std::optional<long> MessageStep(const Step& step, long index);
    std::optional<long> WindowStep(const Step& step, long index);
    std::optional<long> WaitStep(const Step& step, long index);
    std::optional<long> QueryStep(const Step& step, long index);
    void UnknownStep(const Step& step);

    // A position of a Mouse or Wait step on the screen: as it stands, or relative to the client
    // area of the window a Window "Activate" step chose, where that window is now. nullopt when
    // that window is gone.
    std::optional<Point> OnScreen(Point position);
    // The failure of a Mouse or Wait step whose window is gone.
    std::optional<long> WindowGone();
    void SayInputReach();

    // The wait of the steps that wait: `holds` is tested at once and then every 100 ms for
    // `seconds` (none: the whole time passes), with the time left in the Delay countdown text.
    // Stop and Escape end it within 100 ms; Pause holds it, and its time left.
    // `idle`, where given, waits until the time it is given or less, and says whether something
    // came that may change what `holds` finds (it is tested again at once).
    enum class WaitOutcome { Held, TimedOut, Stopped };
    using Idle = std::function<bool(Clock::time_point until)>;
    WaitOutcome WaitFor(float seconds, const std::function<bool()>& holds, const Idle& idle = {});
    bool IdleUntil(Clock::time_point tick, const std::function<bool()>& holds, const Idle& idle);
    // A step that failed, saying why: with onFailStep 0 the run pauses and the text is shown
    // titled `title` (Play goes on with the next step, Stop ends the run); with n >= 1 the run
    // goes on at step n, as a Jump to n does. Returns the step handed over to.
    // settle: the between-steps delay follows the message.
    std::optional<long> FailStep(const std::string& title, const std::string& text,
                                 std::int32_t onFailStep, bool settle);

    StopRequested StopCheckForStep();
    void ShowMessage(const std::string& title, const std::string& text);
    void SettleDelay();

    AppState& state_;
    Services& services_;
    PlayerUi& ui_;
    StepActions& actions_;
    StepPacer pacer_;

    // The window that Mouse and Wait step positions are relative to; none for screen positions.
    // Each run starts without one. Player thread only.
    struct WindowOrigin {
        WindowId window = 0;
        std::string title;
    };
    std::optional<WindowOrigin> origin_;

    std::mutex mutex_;
    std::condition_variable changed_;
    bool shutdown_ = false;  // guarded by mutex_
    std::atomic<bool> stopping_{false};
    std::atomic<long> runRequests_{0};
    long runRequestAtStart_ = 0;  // player thread only
    long runsEnded_ = 0;  // guarded by mutex_

    Unattended unattended_;  // guarded by mutex_; read by the run as it starts
    Unattended runUnattended_;  // player thread only: the copy of the run under way
    RunEnd runEnd_ = RunEnd::Stopped;  // player thread only
    long runningIndex_ = 0;            // player thread only: the step ThreadPLAY runs

    std::thread thread_;  // last: starts when everything else is made
};

}  // namespace zs
