// SPDX-License-Identifier: GPL-3.0-or-later
// Standard input, output and error as the shell handed them over: possibly closed, or opened the wrong way.
#pragma once

#include <QIODevice>
#include <array>
#include <memory>

namespace lirobel::cli {

/// A standard stream that cannot serve: every read and write fails, and errorString() says why.
class UnusableStream final : public QIODevice {
public:
    explicit UnusableStream(const QString& why);
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override { return -1; }
};

/// The three standard streams as devices. Build it first thing in main, before anything opens a file
/// (QCoreApplication opens descriptors of its own): the number of a closed stream is given to /dev/null,
/// so that no later file takes it and receives what was meant for the stream. The device of a stream
/// that is closed, or open for reading where it should write or the reverse, is an UnusableStream.
class StandardStreams {
public:
    StandardStreams();

    /// False when a closed stream's number could not be taken: any file opened later might get it.
    bool IsGuarded() const { return m_guarded; }
    QIODevice& In() { return *m_devices[0]; }
    QIODevice& Out() { return *m_devices[1]; }
    QIODevice& Err() { return *m_devices[2]; }

private:
    std::array<std::unique_ptr<QIODevice>, 3> m_devices;
    bool m_guarded = true;
};

} // namespace lirobel::cli
