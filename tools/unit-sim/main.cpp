// korvan2-unit-sim: a simulated ignition unit on a pseudo-terminal. See UsageText for the
// options. Prints the slave's path as its first line, answers requests until SIGINT or
// SIGTERM (or until it hangs up on purpose), then exits 0.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "unit-sim/command_line.h"
#include "unit-sim/frame_assembler.h"
#include "unit-sim/pty_line.h"
#include "unit-sim/unit_model.h"
#include "unit-sim/unit_pages.h"

namespace korvan::sim {
namespace {

int g_signalPipe[2] = {-1, -1};

extern "C" void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

bool InstallSignals() {
    if (pipe(g_signalPipe) != 0) return false;
    for (int fd : g_signalPipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        if (sigaction(sig, &sa, nullptr) != 0) return false;
    }
    signal(SIGPIPE, SIG_IGN);
    return true;
}

using Clock = std::chrono::steady_clock;

// How long the unit waits, after its last answer before hanging up, for the client to read
// that answer: closing the master discards whatever the slave still holds. The kernel moves
// written bytes into the slave's queue a little later, so an empty queue right after the
// write proves nothing; it counts only after the settle time.
constexpr std::int64_t kHangupDrainMs = 1000;
constexpr std::int64_t kHangupSettleMs = 50;
// Quiet for this long after a request or answer means the client has gone (the tool asks at
// least every 330 ms while connected).
constexpr std::int64_t kClientGoneMs = 1000;
// A client that never reads must not make the unit hoard memory.
constexpr std::size_t kMaxQueuedOutput = 1 << 20;

class Simulator {
  public:
    Simulator(const UnitConfig& config, const DeviceImage& pages, PtyLine& line)
        : config_(config), line_(line), model_(pages, config), random_(config.noiseSeed) {}

    // Runs until a signal or the planned hang-up. Returns the exit code.
    int Run();

  private:
    std::int64_t NowUs() const {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count();
    }
    template <typename... Args>
    void Log(Verbosity level, const char* format, Args... args) const;

    bool ReadRequests(std::int64_t nowUs);
    void ReleaseDueAnswers(std::int64_t nowUs);
    void MaybeNoise(std::int64_t nowUs);
    bool WriteOutput();
    int PollTimeoutMs(std::int64_t nowUs) const;
    void HangUp();

    const UnitConfig& config_;
    PtyLine& line_;
    UnitModel model_;
    FrameAssembler assembler_;
    std::mt19937 random_;
    const Clock::time_point start_ = Clock::now();

    struct Pending {
        std::int64_t dueUs;
        DeviceFrame frame;
    };
    std::deque<Pending> pending_;
    std::string output_;

    unsigned answersSent_ = 0;
    bool hangupArmed_ = false;
    std::int64_t hangupArmedUs_ = 0;
    std::int64_t noiseDueUs_ = -1;
    std::int64_t lastActivityUs_ = -1;
    bool clientReset_ = true;
};

template <typename... Args>
void Simulator::Log(Verbosity level, const char* format, Args... args) const {
    if (static_cast<int>(config_.verbosity) < static_cast<int>(level)) return;
    std::fprintf(stderr, "unit-sim %7.3f s: ", static_cast<double>(NowUs()) / 1e6);
    std::fprintf(stderr, format, args...);
    std::fputc('\n', stderr);
}

bool Simulator::ReadRequests(std::int64_t nowUs) {
    std::uint8_t buf[4096];
    for (;;) {
        const ssize_t n = read(line_.master, buf, sizeof buf);
        if (n > 0) {
            const std::int64_t nowMs = nowUs / 1000;
            const std::size_t skippedBefore = assembler_.SkippedBytes();
            const auto frames = assembler_.Feed(buf, static_cast<std::size_t>(n), nowMs);
            if (assembler_.SkippedBytes() != skippedBefore) {
                Log(Verbosity::Verbose, "skipped %zu bytes that start no request",
                    assembler_.SkippedBytes() - skippedBefore);
            }
            for (const DeviceFrame& request : frames) {
                lastActivityUs_ = nowUs;
                clientReset_ = false;
                if (hangupArmed_) continue;  // the unit is already gone for the client
                auto answer = model_.Answer(request, nowMs);
                Log(Verbosity::Verbose, "request 0x%02X: %s", request[0],
                    FateName(model_.LastFate()));
                if (answer) {
                    pending_.push_back({nowUs + std::int64_t{config_.delayMs} * 1000, *answer});
                }
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        if (n < 0 && errno == EINTR) continue;
        // The unit holds a slave descriptor itself, so this means the pty is broken.
        Log(Verbosity::Quiet, "reading the line failed: %s", n == 0 ? "end" : std::strerror(errno));
        return false;
    }
}

void Simulator::ReleaseDueAnswers(std::int64_t nowUs) {
    while (!pending_.empty() && pending_.front().dueUs <= nowUs && !hangupArmed_) {
        const DeviceFrame& f = pending_.front().frame;
        if (output_.size() < kMaxQueuedOutput) {
            output_.append(reinterpret_cast<const char*>(f.data()), f.size());
        }
        Log(Verbosity::Verbose, "answer 0x%02X (check byte %s)", f[0],
            FrameCheckOk(f.data()) ? "right" : "wrong");
        pending_.pop_front();
        lastActivityUs_ = nowUs;
        ++answersSent_;
        if (config_.hangupAfter && answersSent_ >= config_.hangupAfter) {
            hangupArmed_ = true;
            hangupArmedUs_ = nowUs;
            pending_.clear();
        } else if (config_.noise && noiseDueUs_ < 0 &&
                   std::uniform_int_distribution<int>(0, 2)(random_) == 0) {
            noiseDueUs_ =
                nowUs + std::uniform_int_distribution<std::int64_t>(5, 40)(random_) * 1000;
        }
    }
}

void Simulator::MaybeNoise(std::int64_t nowUs) {
    if (noiseDueUs_ < 0 || nowUs < noiseDueUs_) return;
    noiseDueUs_ = -1;
    // Only between answers to a client that is there; noise for nobody would pile up in
    // the slave and greet the next client with a burst of garbage.
    if (hangupArmed_ || nowUs - lastActivityUs_ > kClientGoneMs * 1000) return;
    const int count = std::uniform_int_distribution<int>(1, 4)(random_);
    std::string noise;
    for (int i = 0; i < count; ++i) {
        noise.push_back(static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random_)));
    }
    output_ += noise;
    Log(Verbosity::Verbose, "noise: %d bytes", count);
}

bool Simulator::WriteOutput() {
    while (!output_.empty()) {
        const ssize_t n = write(line_.master, output_.data(), output_.size());
        if (n > 0) {
            output_.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        Log(Verbosity::Quiet, "writing the line failed: %s", std::strerror(errno));
        return false;
    }
    return true;
}

int Simulator::PollTimeoutMs(std::int64_t nowUs) const {
    std::int64_t next = -1;
    auto consider = [&](std::int64_t atUs) {
        if (atUs >= 0 && (next < 0 || atUs < next)) next = atUs;
    };
    if (!pending_.empty() && !hangupArmed_) consider(pending_.front().dueUs);
    consider(noiseDueUs_);
    if (hangupArmed_) consider(nowUs + 10000);  // watch the client read the last answer
    if (!clientReset_ && lastActivityUs_ >= 0) consider(lastActivityUs_ + kClientGoneMs * 1000);
    if (next < 0) return -1;
    const std::int64_t waitUs = std::max<std::int64_t>(next - nowUs, 0);
    return static_cast<int>((waitUs + 999) / 1000);
}

void Simulator::HangUp() {
    Log(Verbosity::Normal, "hanging up after %u answers", answersSent_);
    // Closing the master is what the client sees as the cable being pulled.
    ClosePty(line_);
}

int Simulator::Run() {
    for (;;) {
        std::int64_t now = NowUs();
        ReleaseDueAnswers(now);
        MaybeNoise(now);
        if (!WriteOutput()) return 1;

        if (hangupArmed_ && output_.empty() &&
            ((now - hangupArmedUs_ >= kHangupSettleMs * 1000 && UnreadBytes(line_) == 0) ||
             now - hangupArmedUs_ >= kHangupDrainMs * 1000)) {
            HangUp();
            return 0;
        }
        if (!clientReset_ && lastActivityUs_ >= 0 &&
            now - lastActivityUs_ >= kClientGoneMs * 1000 && pending_.empty() && output_.empty()) {
            ResetForNextClient(line_);
            clientReset_ = true;
            Log(Verbosity::Verbose, "client quiet; line cleared for the next one");
        }

        pollfd fds[2] = {{line_.master, POLLIN, 0}, {g_signalPipe[0], POLLIN, 0}};
        if (!output_.empty()) fds[0].events |= POLLOUT;
        const int ready = poll(fds, 2, PollTimeoutMs(now));
        if (ready < 0 && errno != EINTR) {
            Log(Verbosity::Quiet, "poll failed: %s", std::strerror(errno));
            return 1;
        }
        if (fds[1].revents & POLLIN) {
            Log(Verbosity::Normal, "stopping on a signal");
            return 0;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            if (!ReadRequests(NowUs())) return 1;
        }
    }
}

}  // namespace
}  // namespace korvan::sim

int main(int argc, char** argv) {
    using namespace korvan::sim;
    const std::string program = argc > 0 ? argv[0] : "korvan2-unit-sim";
    UnitConfig config;
    if (std::string error = ParseCommandLine({argv + 1, argv + argc}, config); !error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), error.c_str(),
                     UsageText(program).c_str());
        return 2;
    }
    if (config.help) {
        std::fputs(UsageText(program).c_str(), stdout);
        return 0;
    }
    korvan::DeviceImage pages;
    if (std::string error = StartPages(config, pages); !error.empty()) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
        return 2;
    }
    if (!InstallSignals()) {
        std::fprintf(stderr, "%s: cannot install signal handlers\n", program.c_str());
        return 1;
    }

    PtyLine line;
    if (std::string error = OpenPty(line); !error.empty()) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
        ClosePty(line);
        return 1;
    }
    if (!config.linkPath.empty()) {
        if (std::string error = MakeLink(config.linkPath, line.slavePath); !error.empty()) {
            std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
            ClosePty(line);
            return 1;
        }
    }
    // The first line is the contract with whoever started us: the port to open.
    std::printf("%s\n", line.slavePath.c_str());
    std::fflush(stdout);
    if (config.verbosity != Verbosity::Quiet) {
        std::fprintf(stderr, "unit-sim: unit on %s%s%s\n", line.slavePath.c_str(),
                     config.linkPath.empty() ? "" : ", linked as ", config.linkPath.c_str());
    }

    const int code = Simulator(config, pages, line).Run();
    ClosePty(line);
    if (!config.linkPath.empty()) RemoveLinkIfOurs(config.linkPath, line.slavePath);
    return code;
}
