#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QProcess;
class QTemporaryDir;

namespace tarvelo {

// Hands a portfolio to the desktop's mail program ("xdg-email --attach FILE"). The
// portfolio goes to a file of its own name in a private temporary folder; the mail
// program runs without blocking the window, and the file stays until the program has
// ended, since it may pass the file on to a mail client that reads it later.
class MailSender : public QObject {
    Q_OBJECT
public:
    // Finds a program by name on the search path: its path, empty when there is none.
    using Lookup = std::function<QString(const QString& program)>;

    // Without a lookup the directories of the PATH variable are searched.
    explicit MailSender(QObject* parent = nullptr, QString program = QStringLiteral("xdg-email"), Lookup lookup = {});
    ~MailSender() override;

    // True when the mail program is on the search path.
    bool available() const { return !find().isEmpty(); }
    // Starts sending the bytes as an attachment of the file name (a portfolio's
    // "Depot.qvx"); sent() or failed() follows when the mail program has ended. False
    // when the send stopped before the program ran; failed() has said why then.
    bool send(const std::string& bytes, const QString& fileName);
    // Mail programs started and not yet ended.
    int running() const { return static_cast<int>(m_sends.size()); }

    // The lookup of the PATH variable: the first file of that name, executable or not.
    static QString findOnPath(const QString& program);

signals:
    // The mail program ended and took the message.
    void sent();
    // Sending failed, with the text for the user.
    void failed(const QString& message);

private:
    struct Send;
    QString find() const;
    void finish(QProcess* process, const QString& failure);

    QString m_program;
    Lookup m_lookup;
    std::vector<std::unique_ptr<Send>> m_sends;
};

} // namespace tarvelo
