#include "ui/mailsender.h"

#include "resources/strings.h"
#include "ui/qtexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace tarvelo {

namespace {

// xdg-email's exit status when it found no mail client to hand the message to.
constexpr int kNoMailClient = 3;

} // namespace

// One message under way: the private folder with the attachment and the mail program
// that reads it. The folder goes when the Send goes, after the program has ended.
struct MailSender::Send {
    std::unique_ptr<QTemporaryDir> folder;
    QProcess* process = nullptr;
};

MailSender::MailSender(QObject* parent, QString program, Lookup lookup)
    : QObject(parent), m_program(std::move(program)), m_lookup(std::move(lookup))
{
}

MailSender::~MailSender()
{
    // A mail program still running may not have read its attachment yet: it keeps
    // running after this program, and its folder stays for it.
    for (const auto& send : m_sends) {
        send->process->disconnect(this);
        send->process->setParent(nullptr);
        send->folder->setAutoRemove(false);
    }
}

QString MailSender::findOnPath(const QString& program)
{
    const QStringList folders = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), program);
        if (candidate.exists() && !candidate.isDir())
            return candidate.absoluteFilePath();
    }
    return {};
}

QString MailSender::find() const
{
    return m_lookup ? m_lookup(m_program) : findOnPath(m_program);
}

bool MailSender::send(const std::string& bytes, const QString& fileName)
{
    const QString program = find();
    if (program.isEmpty()) {
        emit failed(text(strings::kMailUnavailable));
        return false;
    }
    // There is a file of the name, but it is no program this user may run.
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable()) {
        emit failed(text(strings::kMailProgramInvalid));
        return false;
    }

    auto send = std::make_unique<Send>();
    send->folder = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(QStringLiteral("QVXmail-XXXXXX")));
    const QString attachment = send->folder->isValid() ? send->folder->filePath(fileName) : QString();
    QFile file(attachment);
    const bool written = !attachment.isEmpty() && file.open(QIODevice::WriteOnly)
                         && file.write(bytes.data(), static_cast<qint64>(bytes.size()))
                                == static_cast<qint64>(bytes.size())
                         && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        emit failed(text(strings::kMailAttachmentFailed));
        return false;
    }

    auto* process = new QProcess(this);
    send->process = process;
    process->setProgram(program);
    process->setArguments({QStringLiteral("--attach"), attachment});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::errorOccurred, this, [this, process, program](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // a crash also ends in finished()
        // Gone since the look-up, or there but not a program the system can start.
        finish(process, text(QFileInfo::exists(program) ? strings::kMailProgramInvalid : strings::kMailUnavailable));
    });
    connect(process, &QProcess::finished, this, [this, process](int exitCode, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit)
            finish(process, text(strings::kMailSendFailed));
        else if (exitCode == kNoMailClient)
            finish(process, text(strings::kMailUnavailable));
        else
            finish(process, exitCode == 0 ? QString() : text(strings::kMailSendFailed));
    });
    m_sends.push_back(std::move(send));
    process->start();
    // A start that failed at once has been reported already (the process object
    // lives on until the event loop deletes it).
    return process->error() != QProcess::FailedToStart;
}

void MailSender::finish(QProcess* process, const QString& failure)
{
    const auto found = std::find_if(m_sends.begin(), m_sends.end(),
                                    [process](const auto& send) { return send->process == process; });
    if (found == m_sends.end())
        return;
    // The program has ended: its attachment and folder go now.
    std::unique_ptr<Send> ended = std::move(*found);
    m_sends.erase(found);
    ended.reset();
    process->deleteLater();
    if (failure.isEmpty())
        emit sent();
    else
        emit failed(failure);
}

} // namespace tarvelo
