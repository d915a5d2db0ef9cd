// The program's start-up against a bare Qt window: wall time and peak memory.
//
//   bench_startup [runs]          the driver: starts both children interleaved,
//                                 runs times each (default 40), and prints medians
//   bench_startup --child velmira runVelmira(), quitting once the loop has run
//   bench_startup --child bare    a plain 510x775 QMainWindow, the same way
//
// The children run on the offscreen platform in the project's data folder, where
// the program finds its icon, its picture and its statistics files.

#include "startupchild.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int DefaultRuns = 40;
constexpr double WallTimeTarget = 1.3;
constexpr double PeakMemoryTarget = 1.2;

struct ChildRun {
    double wallMs = 0;
    long peakKb = 0;
};

double monotonicMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Starts the children: this same executable in child mode, on the offscreen
// platform, in the data folder.
class ChildStarter {
public:
    ChildStarter(std::string executable, std::string workingDirectory)
        : executable(std::move(executable)), workingDirectory(std::move(workingDirectory))
    {
        for (char **variable = environ; *variable; ++variable) {
            if (std::strncmp(*variable, "QT_QPA_PLATFORM=", 16) != 0)
                environment.push_back(*variable);
        }
        environment.push_back(const_cast<char *>("QT_QPA_PLATFORM=offscreen"));
        environment.push_back(nullptr);

        // The children's output goes to a scratch file, shown only when one fails.
        char name[] = "/tmp/bench_startup_XXXXXX";
        output = mkostemp(name, O_CLOEXEC);
        if (output >= 0)
            unlink(name);
    }

    ~ChildStarter()
    {
        if (output >= 0)
            close(output);
    }

    ChildStarter(const ChildStarter &) = delete;
    ChildStarter &operator=(const ChildStarter &) = delete;

    bool isReady() const { return output >= 0; }

    // Starts one child, waits for it and returns its wall time and its own peak
    // resident set; false if it could not start or did not exit with status 0.
    bool run(const std::string &kind, ChildRun &result) const
    {
        if (ftruncate(output, 0) != 0 || lseek(output, 0, SEEK_SET) != 0) {
            std::perror("child output file");
            return false;
        }
        std::vector<char *> arguments
            = {const_cast<char *>(executable.c_str()), const_cast<char *>("--child"),
               const_cast<char *>(kind.c_str()), nullptr};
        const double start = monotonicMs();
        const pid_t child = fork();
        if (child < 0) {
            std::perror("fork");
            return false;
        }
        if (child == 0) {
            // Only async-signal-safe calls between fork and exec.
            if (dup2(output, STDOUT_FILENO) >= 0 && dup2(output, STDERR_FILENO) >= 0
                && chdir(workingDirectory.c_str()) == 0)
                execve(arguments[0], arguments.data(), environment.data());
            _exit(127);
        }
        int status = 0;
        rusage usage {};
        pid_t waited;
        do {
            waited = wait4(child, &status, 0, &usage);
        } while (waited < 0 && errno == EINTR);
        result.wallMs = monotonicMs() - start;
        result.peakKb = usage.ru_maxrss;
        if (waited != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "child '%s' failed (status %d); its output:\n", kind.c_str(),
                         status);
            showOutput();
            return false;
        }
        return true;
    }

private:
    void showOutput() const
    {
        char buffer[4096];
        ssize_t length;
        lseek(output, 0, SEEK_SET);
        while ((length = read(output, buffer, sizeof buffer)) > 0)
            std::fwrite(buffer, 1, size_t(length), stderr);
    }

    std::string executable;
    std::string workingDirectory;
    std::vector<char *> environment;
    int output = -1;
};

template<typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool isFile(const std::string &path)
{
    struct stat info { };
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int runDriver(int runs)
{
    char executable[PATH_MAX];
    if (!realpath("/proc/self/exe", executable)) {
        std::perror("/proc/self/exe");
        return 1;
    }
    const std::string dataDir = VELMIRA_DATA_DIR;
    for (const char *name : {"stet.png", "Tavrel.jpg", "Statistics_1.txt", "Statistics_2.txt"}) {
        if (!isFile(dataDir + '/' + name)) {
            std::fprintf(stderr, "missing data file %s/%s\n", dataDir.c_str(), name);
            return 1;
        }
    }
    const ChildStarter starter(executable, dataDir);
    if (!starter.isReady()) {
        std::perror("scratch file for the children's output");
        return 1;
    }

    // One untimed run of each warms the page cache and the font cache.
    ChildRun unused;
    if (!starter.run("bare", unused) || !starter.run("velmira", unused))
        return 1;

    std::vector<double> bareWall, velmiraWall;
    std::vector<long> barePeak, velmiraPeak;
    for (int i = 0; i < runs; ++i) {
        // Alternate which child goes first, so that neither always follows the other.
        const bool bareFirst = i % 2 == 0;
        for (const char *kind : {bareFirst ? "bare" : "velmira", bareFirst ? "velmira" : "bare"}) {
            ChildRun run;
            if (!starter.run(kind, run))
                return 1;
            const bool bare = std::strcmp(kind, "bare") == 0;
            (bare ? bareWall : velmiraWall).push_back(run.wallMs);
            (bare ? barePeak : velmiraPeak).push_back(run.peakKb);
        }
    }

    const double bareWallMs = median(bareWall);
    const double velmiraWallMs = median(velmiraWall);
    const double barePeakKb = median(barePeak);
    const double velmiraPeakKb = median(velmiraPeak);
    const double wallRatio = velmiraWallMs / bareWallMs;
    const double peakRatio = velmiraPeakKb / barePeakKb;

    rusage own {};
    getrusage(RUSAGE_SELF, &own);
    std::printf("\nStart-up, %d runs of each child, interleaved, medians (min..max)\n", runs);
    std::printf("%-9s %10s %18s %14s %18s\n", "child", "wall ms", "(min..max)", "peak RSS KiB",
                "(min..max)");
    const auto row
        = [](const char *name, const std::vector<double> &wall, const std::vector<long> &peak) {
              std::printf("%-9s %10.1f   (%6.1f..%6.1f) %14ld   (%6ld..%6ld)\n", name, median(wall),
                          *std::min_element(wall.begin(), wall.end()),
                          *std::max_element(wall.begin(), wall.end()), median(peak),
                          *std::min_element(peak.begin(), peak.end()),
                          *std::max_element(peak.begin(), peak.end()));
          };
    row("bare", bareWall, barePeak);
    row("velmira", velmiraWall, velmiraPeak);
    std::printf("\nvelmira/bare wall time:   %.2fx (target at most %.1fx: %s)\n", wallRatio,
                WallTimeTarget, wallRatio <= WallTimeTarget ? "met" : "MISSED");
    std::printf("velmira/bare peak memory: %.2fx (target at most %.1fx: %s)\n", peakRatio,
                PeakMemoryTarget, peakRatio <= PeakMemoryTarget ? "met" : "MISSED");
    // A child's peak counts the driver's pages it was forked with, so the
    // driver must stay well below the children for the figures to mean anything.
    std::printf("driver's own peak RSS:    %ld KiB\n", own.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
        const std::string kind = argv[2];
        if (kind != "velmira" && kind != "bare") {
            std::fprintf(stderr, "unknown child '%s': velmira or bare\n", argv[2]);
            return 2;
        }
        return runStartupChild(argc, argv, kind);
    }
    int runs = DefaultRuns;
    if (argc == 2) {
        char *end = nullptr;
        runs = int(std::strtol(argv[1], &end, 10));
        if (*end != '\0' || runs < 1) {
            std::fprintf(stderr, "usage: %s [runs] | --child velmira|bare\n", argv[0]);
            return 2;
        }
    } else if (argc > 2) {
        std::fprintf(stderr, "usage: %s [runs] | --child velmira|bare\n", argv[0]);
        return 2;
    }
    return runDriver(runs);
}
