#include "devserver_process.h"

#include "lumadb/lumadb.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifndef POSTDESK_DEVSERVER_PATH
#error "POSTDESK_DEVSERVER_PATH must name the postvane-devserver binary"
#endif

namespace postdesk::test {

namespace {

constexpr int kStartTimeoutSeconds = 30;
constexpr const char *kReadyPrefix = "postvane-devserver listening on ";

} // namespace

DevServerProcess::DevServerProcess(std::vector<std::string> extraArgs)
    : m_extraArgs(std::move(extraArgs))
{ }

DevServerProcess::~DevServerProcess()
{
    stop();
    if (!m_tempDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_tempDir, ignored);
    }
}

bool DevServerProcess::start()
{
    if (m_pid > 0) {
        m_error = "the server is already running";
        return false;
    }
    if (m_tempDir.empty()) {
        std::string pattern
                = (std::filesystem::temp_directory_path() / "devserver-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            m_error = std::string("cannot create a temporary folder: ") + std::strerror(errno);
            return false;
        }
        m_tempDir = pattern;
        m_dataDir = m_tempDir + "/data";
    }
    return spawn() && recordTrust();
}

std::string DevServerProcess::fingerprint() const
{
    char fingerprint[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    const std::string certificate = m_dataDir + "/server-cert.pem";
    if (lumadb_certificate_file_fingerprint(certificate.c_str(), fingerprint) != LUMADB_OK)
        return {};
    return fingerprint;
}

bool DevServerProcess::trustIn(const std::string &knownHostsPath)
{
    m_knownHostsPath = knownHostsPath;
    return !running() || recordTrust();
}

bool DevServerProcess::recordTrust()
{
    if (m_knownHostsPath.empty())
        return true;
    const std::string known = fingerprint();
    if (known.empty()
        || lumadb_trust_fingerprint(m_knownHostsPath.c_str(), m_host.c_str(), portText().c_str(),
                                    known.c_str())
                != LUMADB_OK) {
        m_error = "cannot record the certificate of the server in " + m_knownHostsPath;
        return false;
    }
    return true;
}

bool DevServerProcess::restart(std::vector<std::string> extraArgs)
{
    stop();
    if (!extraArgs.empty())
        m_extraArgs = std::move(extraArgs);
    return start();
}

bool DevServerProcess::spawn()
{
    std::vector<std::string> args = {
            POSTDESK_DEVSERVER_PATH, "--listen", "127.0.0.1", "--port", "0", "--data", m_dataDir};
    args.insert(args.end(), m_extraArgs.begin(), m_extraArgs.end());
    std::vector<char *> argv;
    for (auto &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        m_error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        m_error = std::string("fork: ") + std::strerror(errno);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    m_pid = pid;

    std::string output;
    const auto deadline
            = std::chrono::steady_clock::now() + std::chrono::seconds(kStartTimeoutSeconds);
    bool ready = false;
    while (!ready) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            m_error = "the server did not report listening within 30 s";
            break;
        }
        pollfd poller{pipeFds[0], POLLIN, 0};
        const int polled = ::poll(&poller, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            continue;
        char buffer[512];
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            m_error = "the server exited before listening";
            break;
        }
        output.append(buffer, static_cast<size_t>(got));
        const size_t newline = output.find('\n');
        if (newline == std::string::npos)
            continue;
        const std::string line = output.substr(0, newline);
        if (line.rfind(kReadyPrefix, 0) != 0) {
            m_error = "unexpected first line from the server: " + line;
            break;
        }
        const std::string endpoint = line.substr(std::strlen(kReadyPrefix));
        const size_t colon = endpoint.rfind(':');
        const long port = colon == std::string::npos ? 0 : std::atol(endpoint.c_str() + colon + 1);
        if (port <= 0 || port > 65535) {
            m_error = "cannot read the port from: " + line;
            break;
        }
        m_host = endpoint.substr(0, colon);
        m_port = static_cast<uint16_t>(port);
        ready = true;
    }
    ::close(pipeFds[0]);
    if (!ready) {
        kill();
        return false;
    }
    m_error.clear();
    return true;
}

void DevServerProcess::waitForExit(int signal, int timeoutSeconds)
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, signal);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (true) {
        int status = 0;
        const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid || (done < 0 && errno != EINTR))
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_pid = -1;
}

void DevServerProcess::stop()
{
    waitForExit(SIGTERM, 30);
}

void DevServerProcess::kill()
{
    waitForExit(SIGKILL, 30);
}

} // namespace postdesk::test
