#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "RixFileTestData.h"
#include "RixModuleData.h"
#include "nexilon/VarReader.h"

namespace {

using rix::CRixModuleData;
using rix::TRixEffect;
using rix::TRixEnvelope;
using rix::TRixOscillator;
using rixtest::CFileBytes;
using rixtest::ExpectFailure;

constexpr const char* kSource = "RixModuleLoader";

CFileBytes Version3()
{
    CFileBytes file;
    file.WideString(u"sonrix v3.0");
    return file;
}

CFileBytes Version2()
{
    CFileBytes file;
    file.WideString(u"sonrix v2.0");
    return file;
}

CRixModuleData Loaded(const std::string& bytes)
{
    CRixModuleData data;
    rixtest::LoadModuleBytes(data, bytes);
    return data;
}

// ---- Round trips and the written layout ----

TEST(RixModuleFile, FeatureModuleLoadsBackIdentical)
{
    const CRixModuleData original = rixtest::MakeFeatureModule();
    const std::string bytes = rixtest::SaveModuleBytes(original);
    EXPECT_EQ(Loaded(bytes), original);
    EXPECT_EQ(rixtest::SaveModuleBytes(Loaded(bytes)), bytes);
}

TEST(RixModuleFile, NewModuleHasExactlyTheListedRecords)
{
    CFileBytes expected = Version3();
    expected.Int(18).Int(16).Int(120).Int(100);
    expected.Int(2).Repeat(0, 2048);
    expected.Int(3).Repeat(0, 2048);
    for (int c = 0; c < 8; ++c)
        expected.Int(4).Int(c).Int(100).Envelope(TRixEnvelope::ChannelDefault());
    for (int c = 0; c < 8; ++c) {
        expected.Int(6).Int(c).Int(0).Int(100).Int(0).Bool(false);
        expected.Envelope(TRixEnvelope::Default()).Envelope(TRixEnvelope::Default());
        expected.Int(7).Int(c).Int(0).Int(100).Int(0);
        expected.Envelope(TRixEnvelope::Default()).Envelope(TRixEnvelope::Default());
    }
    expected.Int(255);

    const std::string bytes = rixtest::SaveModuleBytes(CRixModuleData());
    ASSERT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE\xFF\x0B", 4));
    EXPECT_EQ(bytes, expected.Bytes());
}

TEST(RixModuleFile, EffectsAreWrittenByTheRecordOfTheirType)
{
    // Tag and the fields after the channel number, for each effect type.
    struct TCase {
        int32_t type;
        int32_t tag;
        std::size_t fieldBytes;
    };
    const TCase cases[] = {{0, 8, 8}, {1, 9, 30}, {2, 10, 34}, {3, 11, 34}, {4, 15, 68}, {5, 17, 38}, {6, 14, 68}};
    for (const TCase& c : cases) {
        CRixModuleData data;
        data.channels[3].effects.push_back(TRixEffect::OfType(c.type));
        const std::string bytes = rixtest::SaveModuleBytes(data);
        const std::string plain = rixtest::SaveModuleBytes(CRixModuleData());
        CFileBytes record;
        record.Int(c.tag).Int(3);
        ASSERT_EQ(bytes.size(), plain.size() + 8 + c.fieldBytes) << "type " << c.type;
        EXPECT_EQ(bytes.substr(plain.size() - 4, 8), record.Bytes()) << "type " << c.type;
        EXPECT_EQ(Loaded(bytes), data) << "type " << c.type;
    }
}

// ---- Version 3 records ----

TEST(RixModuleFile, EnvelopeSpeedsOfOldFilesAreConverted)
{
    TRixEnvelope stored = TRixEnvelope::Default();
    stored.speed = 655;
    auto file = [&](bool currentTimeBase, int32_t speed) {
        stored.speed = speed;
        CFileBytes bytes = Version3();
        if (currentTimeBase)
            bytes.Int(18);
        bytes.Int(4).Int(0).Int(100).Envelope(stored);
        bytes.Int(6).Int(0).Int(0).Int(100).Int(0).Bool(false).Envelope(stored).Envelope(stored);
        bytes.Int(9).Int(1).Envelope(stored);
        bytes.Int(15).Int(1).Int(1).Int(2).Envelope(stored).Envelope(stored);
        return bytes.Int(255).Bytes();
    };
    struct TCase {
        bool currentTimeBase;
        int32_t stored;
        int32_t expected;
    };
    const TCase cases[] = {{false, 655, 65}, {true, 655, 655}, {false, -655, -65}, {false, INT_MAX, 214261406}};
    for (const TCase& c : cases) {
        const CRixModuleData data = Loaded(file(c.currentTimeBase, c.stored));
        EXPECT_EQ(data.channels[0].envelope.speed, c.expected);
        EXPECT_EQ(data.channels[0].oscillators.at(0).volumeEnvelope.speed, c.expected);
        EXPECT_EQ(data.channels[0].oscillators.at(0).transitionEnvelope.speed, c.expected);
        EXPECT_EQ(data.channels[1].effects.at(0).envelope1.speed, c.expected);
        EXPECT_EQ(data.channels[1].effects.at(1).envelope2.speed, c.expected);
    }
}

TEST(RixModuleFile, ChannelRecordDropsEarlierOscillatorsButKeepsEffects)
{
    CFileBytes file = Version3();
    file.Int(18).Int(6).Int(2).Int(1).Int(50).Int(0).Bool(true).Envelope({}).Envelope({});
    file.Int(8).Int(2).Int(100).Int(50);
    file.Int(4).Int(2).Int(77).Envelope(rixtest::MakeEnvelope(3)).Int(255);
    const CRixModuleData data = Loaded(file.Bytes());
    EXPECT_EQ(data.channels[2].volume, 77);
    EXPECT_EQ(data.channels[2].envelope, rixtest::MakeEnvelope(3));
    EXPECT_TRUE(data.channels[2].oscillators.empty());
    EXPECT_TRUE(data.channels[2].transitionOscillators.empty());
    EXPECT_EQ(data.channels[2].effects.size(), 1u);
}

TEST(RixModuleFile, LegacyRecordsOfEarlierVersions)
{
    const TRixEnvelope envelope = rixtest::MakeEnvelope(4);
    CFileBytes file = Version3();
    file.Int(18).Int(16).Int(99).Int(33).Int(1).Int(140);
    file.Int(4).Int(1).Int(100).Envelope({});
    file.Int(5).Int(1).Int(2).Int(80).Int(-300).Envelope(envelope).Envelope(envelope);
    file.Int(12).Int(1).Unsigned(0xFFFFFFFFu);
    file.Int(13).Int(1).Unsigned(7).Unsigned(9);
    const CRixModuleData data = Loaded(file.Int(255).Bytes());

    EXPECT_EQ(data.bpm, 140);
    EXPECT_EQ(data.masterVolume, 100);
    const rix::CRixModuleChannel& channel = data.channels[1];
    ASSERT_EQ(channel.oscillators.size(), 1u);
    EXPECT_EQ(channel.oscillators[0], (TRixOscillator{2, 80, -300, envelope, envelope, false}));
    EXPECT_EQ(channel.transitionOscillators, std::vector<TRixOscillator>(1));

    TRixEffect drive = TRixEffect::OfType(rix::RIXEFFECT_OVERDRIVE);
    drive.param1 = -1;
    drive.param2 = 255;
    TRixEffect plain = TRixEffect::OfType(rix::RIXEFFECT_OVERDRIVE);
    plain.param1 = 7;
    plain.param2 = 9;
    EXPECT_EQ(channel.effects, (std::vector<TRixEffect>{drive, plain}));
}

TEST(RixModuleFile, EffectRecordsStartFromTheTypeDefaults)
{
    const TRixEnvelope envelope = rixtest::MakeEnvelope(2);
    CFileBytes file = Version3();
    file.Int(18).Int(9).Int(0).Envelope(envelope).Int(10).Int(0).Int(5).Envelope(envelope);
    const CRixModuleData data = Loaded(file.Int(255).Bytes());
    ASSERT_EQ(data.channels[0].effects.size(), 2u);
    const TRixEffect& flange = data.channels[0].effects[0];
    EXPECT_EQ(flange.type, rix::RIXEFFECT_FLANGE);
    EXPECT_EQ(flange.param1, 400);
    EXPECT_EQ(flange.param2, 128);
    EXPECT_EQ(flange.envelope2, TRixEnvelope::Default());
    const TRixEffect& lowpass = data.channels[0].effects[1];
    EXPECT_EQ(lowpass.param1, 5);
    EXPECT_EQ(lowpass.param2, 128);
    EXPECT_EQ(lowpass.envelope1, envelope);
}

TEST(RixModuleFile, LoadStartsFromADefaultSong)
{
    CRixModuleData data = rixtest::MakeFeatureModule();
    rixtest::LoadModuleBytes(data, Version3().Int(255).Bytes());
    EXPECT_EQ(data, CRixModuleData());
}

TEST(RixModuleFile, OscillatorListsStayParallel)
{
    CFileBytes onlyOscillators = Version3();
    onlyOscillators.Int(4).Int(0).Int(1).Envelope({});
    for (int i = 0; i < 2; ++i)
        onlyOscillators.Int(6).Int(0).Int(1).Int(2).Int(3).Bool(true).Envelope({}).Envelope({});
    CRixModuleData data = Loaded(onlyOscillators.Int(255).Bytes());
    EXPECT_EQ(data.channels[0].transitionOscillators, std::vector<TRixOscillator>(2));

    CFileBytes onlyTransitions = Version3();
    onlyTransitions.Int(7).Int(0).Int(1).Int(2).Int(3).Envelope({}).Envelope({});
    data = Loaded(onlyTransitions.Int(255).Bytes());
    EXPECT_EQ(data.channels[0].oscillators.size(), 1u);
    EXPECT_EQ(data.channels[0].transitionOscillators.size(), 1u);
}

// ---- Version 2 ----

TEST(RixModuleFileVersion2, SongChannelAndEnvelopeConversions)
{
    const float pi = 3.14159265358979f;
    CFileBytes file = Version2();
    file.Int(1).Int(133).Float(0.5f).WideString(u"title").WideString(u"").WideString(u"author");
    file.Int(4).Int(3).Float(0.5f).Envelope2({0.25f, 1.0f, 1.0f, pi / 2, pi, 100000.0f}, false, true, true);
    file.Int(4).Int(4).Float(std::numeric_limits<float>::quiet_NaN());
    file.Envelope2({1e10f, -1.0f, 2.5f, 0, 0, 0}, true, false, false);
    file.Int(8);
    const CRixModuleData data = Loaded(file.Bytes());

    EXPECT_EQ(data.bpm, 133);
    EXPECT_EQ(data.masterVolume, 127);
    const rix::CRixModuleChannel& three = data.channels[3];
    EXPECT_EQ(three.volume, 127);
    EXPECT_EQ(three.envelope, (TRixEnvelope{64, 256, 65, 0, 16384, 32768, 1043037806, false, true}));
    EXPECT_TRUE(three.oscillators.empty());
    EXPECT_TRUE(three.transitionOscillators.empty());
    const rix::CRixModuleChannel& four = data.channels[4];
    EXPECT_EQ(four.volume, INT_MIN);
    EXPECT_EQ(four.envelope, (TRixEnvelope{INT_MIN, -256, 163, 3, 0, 0, 0, true, false}));
}

TEST(RixModuleFileVersion2, OscillatorWaveformsAndFrequencyEnvelope)
{
    const int32_t waveforms[][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 0}, {-1, 0}};
    for (const auto& waveform : waveforms) {
        CFileBytes file = Version2();
        file.Int(7).Int(6).Int(12345).Int(waveform[0]);
        file.Envelope2({0.5f, 2.0f, 1.0f, 0, 0, 0});
        file.Envelope2({-12.0f, 35.624f, 0.0f, 0, 0, 0});
        file.Float(0.5f).Float(-0.255f);
        const CRixModuleData data = Loaded(file.Bytes());
        const rix::CRixModuleChannel& channel = data.channels[6];
        ASSERT_EQ(channel.oscillators.size(), 2u) << "waveform " << waveform[0];
        const TRixOscillator& oscillator = channel.oscillators[1];
        EXPECT_EQ(oscillator.type, waveform[1]) << "waveform " << waveform[0];
        EXPECT_EQ(oscillator.volume, 127);
        EXPECT_EQ(oscillator.pitch, -25);
        EXPECT_EQ(oscillator.volumeEnvelope.minValue, 128);
        EXPECT_EQ(oscillator.volumeEnvelope.maxValue, 512);
        // 2^(35.624/12) is 7.828125 in single precision: 2004, not 2003.
        EXPECT_EQ(oscillator.transitionEnvelope.minValue, 128);
        EXPECT_EQ(oscillator.transitionEnvelope.maxValue, 2004);
        EXPECT_FALSE(oscillator.transition);
        EXPECT_EQ(channel.transitionOscillators, std::vector<TRixOscillator>(2));
    }
}

TEST(RixModuleFileVersion2, DelayAndFlangeWhenOnIgnoredRecordsSkipped)
{
    CFileBytes file = Version2();
    file.Int(5).Int(2).Bool(true).Float(3.0f).Float(0.5f);
    file.Int(5).Int(2).Bool(false).Float(9.0f).Float(9.0f);
    file.Int(9).Int(-1).Bool(true).Int(77);
    file.Int(10).Bool(true).Float(1.0f).Float(2.0f).Envelope2({1, 2, 3, 4, 5, 6});
    file.Int(6).Int(2).Bool(true).Float(42.0f).Envelope2({100.7f, 200.2f, 1.0f, 0, 0, 0}, false, false, true);
    file.Int(6).Int(2).Bool(false).Float(42.0f).Envelope2({1, 2, 3, 0, 0, 0});
    const CRixModuleData data = Loaded(file.Int(8).Bytes());

    TRixEffect delay = TRixEffect::OfType(rix::RIXEFFECT_DELAY);
    delay.param1 = 50;
    delay.param2 = 128;
    TRixEffect flange = TRixEffect::OfType(rix::RIXEFFECT_FLANGE);
    flange.envelope1 = {100, 200, 65, 0, 0, 0, 0, false, false};
    EXPECT_EQ(data.channels[2].effects, (std::vector<TRixEffect>{delay, flange}));
    CRixModuleData expected;
    expected.channels[2].effects = {delay, flange};
    EXPECT_EQ(data, expected);
}

TEST(RixModuleFileVersion2, TablesAndTheEndOfTheFile)
{
    CFileBytes file = Version2();
    file.Int(2);
    for (int i = 0; i < 2048; ++i)
        file.Int(i == 5 ? -1 : i % 16);
    file.Int(3);
    for (uint32_t i = 0; i < 2048; ++i)
        file.Unsigned(i * 0x01010101u);
    // No tag 8: the file simply ends.
    const CRixModuleData data = Loaded(file.Bytes());
    EXPECT_EQ(data.orderTable[0][5], 0xFFFFFFFFu);
    EXPECT_EQ(data.orderTable[7][255], 15u);
    EXPECT_EQ(data.patterns[7][15][15], 2047u * 0x01010101u);

    // Whatever follows tag 8 is not read.
    EXPECT_EQ(Loaded(Version2().Int(1).Int(90).Float(1.0f).WideString(u"").WideString(u"").WideString(u"")
                         .Int(8).Int(12345).Bytes())
                  .bpm,
              90);
}

// ---- Failures ----

TEST(RixModuleFileErrors, HeaderNeitherVersion)
{
    const std::u16string headers[] = {u"SONRIX v3.0", u"sonrix v3.1", u"sonrix v3.0 ", u"", u"sonrixi v3.0"};
    for (const std::u16string& header : headers) {
        CFileBytes file;
        file.WideString(header).Int(255);
        ExpectFailure<nexilon::CDataFormatException>([&] { Loaded(file.Bytes()); }, "rix::CRixModuleData::Load",
                                                     kSource, "Invalid file format");
    }
}

TEST(RixModuleFileErrors, Version3UnknownTagsAndChannels)
{
    CFileBytes unknownTags[] = {Version3().Int(0), Version3().Int(19), Version3().Int(-1), Version3().Int(254),
                                Version3().Int(18).Int(16).Int(1).Int(1).Int(256)};
    for (const CFileBytes& file : unknownTags)
        ExpectFailure<nexilon::CDataFormatException>([&] { Loaded(file.Bytes()); },
                                                     "rix::CRixModuleData::LoadVersion3", kSource,
                                                     "Invalid data format");

    // Every record with a channel number, given channel 8 or -1, fails
    // before its fields are read.
    const int32_t channelRecords[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17};
    for (int32_t tag : channelRecords)
        for (int32_t channel : {8, -1, INT_MIN}) {
            SCOPED_TRACE("tag " + std::to_string(tag) + " channel " + std::to_string(channel));
            ExpectFailure<nexilon::CDataFormatException>(
                [&] { Loaded(Version3().Int(tag).Int(channel).Bytes()); }, "rix::CRixModuleData::LoadVersion3",
                kSource, "Invalid data format");
        }
}

TEST(RixModuleFileErrors, Version2UnknownTagsChannelsAndOrderValues)
{
    const CFileBytes files[] = {
        Version2().Int(11),
        Version2().Int(0),
        Version2().Int(255),
        Version2().Int(4).Int(8),
        Version2().Int(5).Int(-1),
        Version2().Int(6).Int(8),
        Version2().Int(7).Int(100),
        Version2().Int(2).Int(3).Int(16),
        Version2().Int(2).Int(INT_MAX),
    };
    for (const CFileBytes& file : files)
        ExpectFailure<nexilon::CDataFormatException>([&] { Loaded(file.Bytes()); },
                                                     "rix::CRixModuleData::LoadVersion2", kSource,
                                                     "Invalid data format");
}

TEST(RixModuleFileErrors, FailedLoadKeepsWhatWasRead)
{
    CRixModuleData data;
    EXPECT_THROW(rixtest::LoadModuleBytes(data, Version3().Int(16).Int(60).Int(7).Int(99).Bytes()),
                 nexilon::CDataFormatException);
    EXPECT_EQ(data.bpm, 60);
    EXPECT_EQ(data.masterVolume, 7);
}

void ExpectEveryTruncationFails(const std::string& bytes, const std::vector<std::size_t>& validEnds = {})
{
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        if (std::find(validEnds.begin(), validEnds.end(), length) != validEnds.end()) {
            EXPECT_NO_THROW(Loaded(bytes.substr(0, length))) << "length " << length;
            continue;
        }
        try {
            Loaded(bytes.substr(0, length));
            ADD_FAILURE() << "a file cut to " << length << " of " << bytes.size() << " bytes loaded";
        } catch (const nexilon::CIOException& error) {
            EXPECT_EQ(error.GetMessage(), "Unexpected end of stream") << "length " << length;
        }
    }
}

TEST(RixModuleFileErrors, EveryTruncationOfAVersion3FileFails)
{
    ExpectEveryTruncationFails(rixtest::SaveModuleBytes(rixtest::MakeFeatureModule()));
}

TEST(RixModuleFileErrors, Version2FilesEndOnlyBetweenRecords)
{
    CFileBytes file = Version2();
    file.Mark().Int(1).Int(125).Float(0.75f).WideString(u"a").WideString(u"bc").WideString(u"").Mark();
    file.Int(4).Int(0).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0}).Mark();
    file.Int(7).Int(0).Int(0).Int(2).Envelope2({0, 1, 1, 0, 0, 0}).Envelope2({0, 1, 1, 0, 0, 0});
    file.Float(1.0f).Float(0.0f).Mark();
    file.Int(5).Int(0).Bool(true).Float(1.0f).Float(1.0f).Mark();
    file.Int(6).Int(0).Bool(true).Float(0.0f).Envelope2({0, 1, 1, 0, 0, 0}).Mark();
    file.Int(9).Int(0).Bool(false).Int(0).Mark();
    file.Int(10).Bool(false).Float(0.0f).Float(0.0f).Envelope2({0, 1, 1, 0, 0, 0}).Mark();
    file.Int(8);
    ExpectEveryTruncationFails(file.Bytes(), file.Marks());
}

} // namespace
