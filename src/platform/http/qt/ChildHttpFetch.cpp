#include "platform/http/qt/ChildHttpFetch.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QMetaObject>
#include <QProcess>
#include <QStringList>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string_view>
#include <utility>

#include "platform/http/qt/ModuleHttpFetch.h"

namespace vantrel {

namespace {

constexpr int kFetchFailed = 1;

void PrepareFetchProcess(rlim_t memoryBytes) {
    // Ends with the program, however that ends.
    static_cast<void>(::prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0));
    const rlimit memory{memoryBytes, memoryBytes};
    const rlimit noCore{0, 0};
    // Best effort: without a limit the fetch still works, only unbounded.
    static_cast<void>(::setrlimit(RLIMIT_DATA, &memory));
    // Ending at the bound is a failure like any other, not a crash to report or to keep.
    static_cast<void>(::setrlimit(RLIMIT_CORE, &noCore));
    static_cast<void>(::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0));
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

struct Fetch {
    HttpDone done;
    QByteArray body;
    std::size_t limit = 0;
    bool answered = false;
};

}  // namespace

ChildHttpFetch::ChildHttpFetch(QString program, std::size_t memoryBytes)
    : program_(std::move(program)), memoryBytes_(memoryBytes) {}

ChildHttpFetch::~ChildHttpFetch() {
    for (QProcess* process : processes_.findChildren<QProcess*>()) {
        process->disconnect();  // no answer from a process ended here
        process->kill();
        static_cast<void>(process->waitForFinished());  // killed: it ends at once
    }
}

void ChildHttpFetch::Start(const HttpRequest& request, HttpDone done) {
    auto fetch = std::make_shared<Fetch>();
    fetch->done = std::move(done);
    fetch->limit = request.maxBytes;
    auto* process = new QProcess(&processes_);  // owned by processes_
    // Once, from the event loop, never from inside Start or a QProcess signal: the callback may
    // open a modal message box.
    auto answer = [this, process, fetch](bool ok) {
        if (fetch->answered) return;
        fetch->answered = true;
        std::optional<std::string> body;
        if (ok) body = fetch->body.toStdString();
        process->deleteLater();
        QMetaObject::invokeMethod(
            &processes_, [fetch, body = std::move(body)] { fetch->done(body); },
            Qt::QueuedConnection);
    };
    QObject::connect(process, &QProcess::readyReadStandardOutput, process, [process, fetch] {
        fetch->body += process->readAllStandardOutput();
        if (static_cast<std::size_t>(fetch->body.size()) > fetch->limit) process->kill();
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, fetch, answer](int code, QProcess::ExitStatus status) {
                         fetch->body += process->readAllStandardOutput();
                         answer(status == QProcess::NormalExit && code == 0 &&
                                static_cast<std::size_t>(fetch->body.size()) <= fetch->limit);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [answer](QProcess::ProcessError e) {
                         if (e == QProcess::FailedToStart) answer(false);
                     });
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);  // its warnings are ours
    process->start(program_,
                   {QString::fromLatin1(kHttpFetchChildArgument),
                    QString::fromStdString(request.url), QString::number(request.maxBytes),
                    QString::number(request.timeout.count()), QString::number(memoryBytes_)});
}

std::optional<int> RunHttpFetchChild(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) != kHttpFetchChildArgument) return std::nullopt;
    HttpRequest request;
    long long timeoutMs = 0;
    rlim_t memoryBytes = 0;
    if (argc != 6 || !ParseNumber(argv[3], request.maxBytes) || !ParseNumber(argv[4], timeoutMs) ||
        !ParseNumber(argv[5], memoryBytes))
        return kFetchFailed;
    PrepareFetchProcess(memoryBytes);
    request.url = argv[2];
    request.timeout = std::chrono::milliseconds(timeoutMs);

    // The module beside the executable, found from the executable's real path as bytes; never
    // from the current folder.
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !program.is_absolute()) return kFetchFailed;

    QCoreApplication app(argc, argv);
    ModuleHttpFetch fetch(program.parent_path());
    int status = kFetchFailed;
    fetch.Start(request, [&status](std::optional<std::string> body) {
        if (body && WriteAll(STDOUT_FILENO, *body)) status = 0;
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    return status;
}

}  // namespace vantrel
