// The program's start-up against a bare Qt window: wall time and peak memory.
//
//   bench_startup [runs] [other [other's data]]
//                                 the driver: starts both children interleaved,
//                                 runs times each (default 40), and prints medians;
//                                 with another build's bench_startup, its velmira
//                                 child too (in its own data folder, if given), so
//                                 that two versions are compared in one run on a
//                                 shared machine
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
    // User and system time: on a shared machine the wall time also holds the
    // time a child waited for a core.
    double processorMs = 0;
    long peakKb = 0;
};

double monotonicMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double milliseconds(const timeval &time)
{
    return time.tv_sec * 1e3 + time.tv_usec / 1e3;
}

// Starts the children: a bench_startup in child mode, on the offscreen
// platform, in a data folder.
class ChildStarter {
public:
    ChildStarter()
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

    // Starts one child of the executable in the folder, waits for it and returns
    // its wall time and its own peak resident set; false if it could not start or
    // did not exit with status 0.
    bool run(const std::string &executable, const std::string &kind,
             const std::string &workingDirectory, ChildRun &result) const
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
        result.processorMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
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

// One kind of child, of this build or another, and what its runs measured.
struct Contender {
    std::string label;
    std::string executable;
    std::string kind;
    std::string dataDir;
    std::vector<double> wallMs;
    std::vector<double> processorMs;
    std::vector<long> peakKb;
};

bool runAllOnce(const ChildStarter &starter, const std::vector<Contender> &contenders)
{
    ChildRun unused;
    for (const Contender &contender : contenders) {
        if (!starter.run(contender.executable, contender.kind, contender.dataDir, unused))
            return false;
    }
    return true;
}

// Each round starts every contender once, the first one rotating from round
// to round, so that none always follows the same other.
bool runInterleaved(const ChildStarter &starter, std::vector<Contender> &contenders, int runs)
{
    for (int i = 0; i < runs; ++i) {
        for (size_t j = 0; j < contenders.size(); ++j) {
            Contender &contender = contenders[(i + j) % contenders.size()];
            ChildRun run;
            if (!starter.run(contender.executable, contender.kind, contender.dataDir, run))
                return false;
            contender.wallMs.push_back(run.wallMs);
            contender.processorMs.push_back(run.processorMs);
            contender.peakKb.push_back(run.peakKb);
        }
    }
    return true;
}

void printTable(int runs, const std::vector<Contender> &contenders)
{
    std::printf("\nStart-up, %d runs of each child, interleaved, medians (min..max)\n", runs);
    std::printf("%-9s %10s %18s %14s %18s\n", "child", "wall ms", "(min..max)", "peak RSS KiB",
                "(min..max)");
    for (const Contender &contender : contenders) {
        const std::vector<double> &wall = contender.wallMs;
        const std::vector<long> &peak = contender.peakKb;
        std::printf("%-9s %10.1f   (%6.1f..%6.1f) %14ld   (%6ld..%6ld)\n", contender.label.c_str(),
                    median(wall), *std::min_element(wall.begin(), wall.end()),
                    *std::max_element(wall.begin(), wall.end()), median(peak),
                    *std::min_element(peak.begin(), peak.end()),
                    *std::max_element(peak.begin(), peak.end()));
    }
}

void printRatios(const Contender &bare, const Contender &contender)
{
    const double wallRatio = median(contender.wallMs) / median(bare.wallMs);
    const double peakRatio = double(median(contender.peakKb)) / median(bare.peakKb);
    const std::string name = contender.label + "/bare";
    std::printf("\n%s wall time:   %.2fx (target at most %.1fx: %s)\n", name.c_str(), wallRatio,
                WallTimeTarget, wallRatio <= WallTimeTarget ? "met" : "MISSED");
    std::printf("%s processor time: %.2fx (%.1f ms against %.1f ms)\n", name.c_str(),
                median(contender.processorMs) / median(bare.processorMs),
                median(contender.processorMs), median(bare.processorMs));
    std::printf("%s peak memory: %.2fx (target at most %.1fx: %s)\n", name.c_str(), peakRatio,
                PeakMemoryTarget, peakRatio <= PeakMemoryTarget ? "met" : "MISSED");
}

// This build's program against the other build's, in the same rounds.
void printComparison(const Contender &velmira, const Contender &other)
{
    std::printf("\nother: %s --child velmira, in %s\n", other.executable.c_str(),
                other.dataDir.c_str());
    std::printf("velmira/other wall time:   %.2fx\n",
                median(velmira.wallMs) / median(other.wallMs));
    std::printf("velmira/other processor time: %.2fx\n",
                median(velmira.processorMs) / median(other.processorMs));
    std::printf("velmira/other peak memory: %.2fx\n",
                double(median(velmira.peakKb)) / median(other.peakKb));
}

bool hasDataFiles(const std::string &dataDir)
{
    for (const char *name : {"stet.png", "Tavrel.jpg", "Statistics_1.txt", "Statistics_2.txt"}) {
        if (!isFile(dataDir + '/' + name)) {
            std::fprintf(stderr, "missing data file %s/%s\n", dataDir.c_str(), name);
            return false;
        }
    }
    return true;
}

int runDriver(int runs, const char *other, const char *otherDataDir)
{
    char executable[PATH_MAX];
    if (!realpath("/proc/self/exe", executable)) {
        std::perror("/proc/self/exe");
        return 1;
    }
    const std::string dataDir = VELMIRA_DATA_DIR;
    const std::string otherData = otherDataDir ? otherDataDir : dataDir;
    if (!hasDataFiles(dataDir) || !hasDataFiles(otherData))
        return 1;
    const ChildStarter starter;
    if (!starter.isReady()) {
        std::perror("scratch file for the children's output");
        return 1;
    }

    std::vector<Contender> contenders = {{"bare", executable, "bare", dataDir, {}, {}, {}},
                                         {"velmira", executable, "velmira", dataDir, {}, {}, {}}};
    if (other) {
        char otherExecutable[PATH_MAX];
        if (!realpath(other, otherExecutable)) {
            std::perror(other);
            return 1;
        }
        contenders.push_back({"other", otherExecutable, "velmira", otherData, {}, {}, {}});
    }
    // One untimed run of each warms the page cache and the font cache.
    if (!runAllOnce(starter, contenders) || !runInterleaved(starter, contenders, runs))
        return 1;

    printTable(runs, contenders);
    for (size_t i = 1; i < contenders.size(); ++i)
        printRatios(contenders.front(), contenders[i]);
    if (other)
        printComparison(contenders[1], contenders[2]);

    // A child's peak counts the driver's pages it was forked with, so the
    // driver must stay well below the children for the figures to mean anything.
    rusage own {};
    getrusage(RUSAGE_SELF, &own);
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
    const auto usage = [argv] {
        std::fprintf(
            stderr,
            "usage: %s [runs] [other bench_startup [its data folder]] | --child velmira|bare\n",
            argv[0]);
        return 2;
    };
    int runs = DefaultRuns;
    if (argc > 4)
        return usage();
    if (argc >= 2) {
        char *end = nullptr;
        runs = int(std::strtol(argv[1], &end, 10));
        if (*end != '\0' || runs < 1)
            return usage();
    }
    return runDriver(runs, argc >= 3 ? argv[2] : nullptr, argc == 4 ? argv[3] : nullptr);
}
