#include "MidiInput.h"

#include <QFile>
#include <QRegularExpression>
#include <RtMidi.h>

#include "NoteKeys.h"
#include "UiMessages.h"

namespace rix {

namespace {

// RtMidi reports through this instead of printing and throwing; failures
// show as a port that does not open or a list without ports.
void IgnoreError(RtMidiError::Type, const std::string&, void*) {}

void ReceiveMessage(double, std::vector<unsigned char>* message, void* user)
{
    static_cast<CMidiInput*>(user)->Receive(message->data(), message->size());
}

} // namespace

CMidiInput::CMidiInput() = default;

CMidiInput::~CMidiInput()
{
    Close();
}

void CMidiInput::SetTarget(QObject* newTarget)
{
    std::lock_guard<std::mutex> guard(targetMutex);
    target = newTarget;
}

RtMidiIn* CMidiInput::Input()
{
    if (inputTried)
        return input.get();
    inputTried = true;
    // Without the ALSA sequencer there is no MIDI; asking RtMidi would only
    // print its complaint.
    if (!QFile::exists(QStringLiteral("/dev/snd/seq")))
        return nullptr;
    try {
        input = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, "sonrix3");
        input->setErrorCallback(&IgnoreError);
    } catch (const RtMidiError&) {
        input.reset();
    }
    return input.get();
}

QStringList CMidiInput::PortNames()
{
    QStringList names;
    if (RtMidiIn* midi = Input())
        for (unsigned int port = 0; port < midi->getPortCount(); ++port)
            names << QString::fromStdString(midi->getPortName(port));
    return names;
}

bool CMidiInput::Open(const QString& name)
{
    Close();
    const QStringList names = PortNames();
    for (int port = 0; port < names.size(); ++port)
        if (SamePort(names[port], name)) {
            input->setCallback(&ReceiveMessage, this);
            input->openPort(unsigned(port), "sonrix3 input");
            if (!input->isPortOpen()) {
                input->cancelCallback();
                return false;
            }
            openName = names[port];
            return true;
        }
    return false;
}

void CMidiInput::Close()
{
    if (!input || openName.isEmpty())
        return;
    input->closePort();
    input->cancelCallback();
    openName.clear();
}

void CMidiInput::CloseIfGone()
{
    if (!openName.isEmpty() && !PortNames().contains(openName))
        Close();
}

void CMidiInput::Receive(const unsigned char* bytes, size_t size)
{
    // A note-on on any MIDI channel; velocity 0 is a note-off by convention.
    if (size < 3 || (bytes[0] & 0xF0) != 0x90 || bytes[2] == 0)
        return;
    const uint32_t value = CNoteKeys::CellFromMidiNote(bytes[1]);
    std::lock_guard<std::mutex> guard(targetMutex);
    if (value != 0 && target)
        PostMessageTo(target, MSG_MIDI_NOTE, value, 0);
}

bool CMidiInput::SamePort(const QString& a, const QString& b)
{
    static const QRegularExpression kNumbers(QStringLiteral(" \\d+:\\d+$"));
    return QString(a).remove(kNumbers) == QString(b).remove(kNumbers);
}

} // namespace rix
