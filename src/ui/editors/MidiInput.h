#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

class QObject;
class RtMidiIn;

namespace rix {

// Posted by CMidiInput to its target (the pattern editor) for every note-on
// of the open port: wParam = the cell value 1..113 of the note.
constexpr uint32_t MSG_MIDI_NOTE = 0x409;

// One MIDI input port (ALSA sequencer, through RtMidi) whose note-ons are
// posted to a window. Opened and closed on the UI thread; the notes arrive
// on RtMidi's thread, which only posts. Without a MIDI system there are no
// ports and nothing opens.
class CMidiInput {
public:
    CMidiInput();
    ~CMidiInput();
    CMidiInput(const CMidiInput&) = delete;
    CMidiInput& operator=(const CMidiInput&) = delete;

    // The window the notes go to; null drops them. Any thread.
    void SetTarget(QObject* target);
    // The input ports present now, by name.
    QStringList PortNames();
    // Opens the port of that name (see SamePort); false when there is none.
    bool Open(const QString& name);
    void Close();
    // The open port's name, empty when none is open.
    QString OpenPortName() const { return openName; }
    // Closes the open port if it has gone (a keyboard unplugged).
    void CloseIfGone();

    // One MIDI message of the open port (RtMidi's thread; tests call it).
    void Receive(const unsigned char* bytes, size_t size);
    // ALSA names end in the client and port numbers ("KeyStation:KeyStation
    // MIDI 1 24:0"), which may change when the device comes back: they do
    // not count.
    static bool SamePort(const QString& a, const QString& b);

private:
    // The RtMidi input, made on first need; null without a MIDI system.
    RtMidiIn* Input();

    std::unique_ptr<RtMidiIn> input;
    bool inputTried = false;
    QString openName;
    std::mutex targetMutex;
    QObject* target = nullptr;
};

} // namespace rix
