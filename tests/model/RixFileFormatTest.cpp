#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <limits>
#include <type_traits>

#include "RixFileTestData.h"
#include "RixModuleData.h"
#include "TemporaryFolder.h"

// Module files, instrument files, and the seed files of their fuzzers.
namespace {

using rix::CRixModuleChannel;
using rix::CRixModuleData;
using rix::TRixEffect;
using rix::TRixEnvelope;
using rix::TRixOscillator;
using rixtest::CFileBytes;
using rixtest::ExpectFailure;

constexpr std::u16string_view kVersion3 = u"sonrix v3.0";
constexpr std::u16string_view kVersion2 = u"sonrix v2.0";
constexpr std::u16string_view kInstrument3 = u"sonrixi v3.0";
constexpr std::u16string_view kInstrument2 = u"sonrixi v2.0";

CRixModuleData Loaded(const std::string& bytes)
{
    return rixtest::Loaded<CRixModuleData>(bytes);
}

// A file of the header and these values.
template <class T = CRixModuleData>
void ExpectInvalidData(std::u16string_view header, const std::vector<int32_t>& values, const char* function)
{
    SCOPED_TRACE(testing::PrintToString(values));
    CFileBytes file(header);
    for (int32_t value : values)
        file.Int(value);
    ExpectFailure<nexilon::CDataFormatException>([&] { rixtest::Loaded<T>(file.Bytes()); }, function,
                                                 std::is_same_v<T, CRixModuleData> ? "RixModuleLoader"
                                                                                   : "InstrumentSaver",
                                                 "Invalid data format");
}

TEST(RixModuleFile, FeatureModuleLoadsBackIdentical)
{
    const CRixModuleData original = rixtest::MakeFeatureModule();
    const std::string bytes = rixtest::SaveBytes(original);
    EXPECT_EQ(Loaded(bytes), original);
    EXPECT_EQ(rixtest::SaveBytes(Loaded(bytes)), bytes);
}

TEST(RixModuleFile, NewModuleHasExactlyTheListedRecords)
{
    CFileBytes expected(kVersion3);
    expected.Int(18).Int(16).Int(120).Int(100);
    for (int table : {2, 3}) {
        expected.Int(table);
        for (int i = 0; i < 2048; ++i)
            expected.Int(0);
    }
    for (int c = 0; c < 8; ++c)
        expected.Int(4).Int(c).Int(100).Envelope(TRixEnvelope::ChannelDefault());
    for (int c = 0; c < 8; ++c) {
        expected.Int(6).Int(c).Int(0).Int(100).Int(0).Bool(false).Envelope({}).Envelope({});
        expected.Int(7).Int(c).Int(0).Int(100).Int(0).Envelope({}).Envelope({});
    }
    EXPECT_EQ(rixtest::SaveBytes(CRixModuleData()), expected.Int(255).Bytes());
}

TEST(RixModuleFile, EffectsAreWrittenByTheRecordOfTheirType)
{
    // Effect type, its tag, and the bytes after the channel number.
    const std::size_t cases[][3] = {{0, 8, 8},   {1, 9, 30},  {2, 10, 34}, {3, 11, 34},
                                    {4, 15, 68}, {5, 17, 38}, {6, 14, 68}};
    const std::string plain = rixtest::SaveBytes(CRixModuleData());
    for (const auto& c : cases) {
        CRixModuleData data;
        data.channels[3].effects.push_back(TRixEffect::OfType(static_cast<int32_t>(c[0])));
        const std::string bytes = rixtest::SaveBytes(data);
        ASSERT_EQ(bytes.size(), plain.size() + 8 + c[2]) << "type " << c[0];
        EXPECT_EQ(bytes.substr(plain.size() - 4, 8), CFileBytes().Int(static_cast<int32_t>(c[1])).Int(3).Bytes());
    }
}

TEST(RixModuleFile, EnvelopeSpeedsOfOldFilesAreConverted)
{
    // Without record 18 the old time base: speeds a tenth, truncated.
    const int32_t cases[][3] = {{0, 655, 65}, {1, 655, 655}, {0, -655, -65}, {0, INT_MAX, 214261406}};
    for (const auto& c : cases) {
        TRixEnvelope e;
        e.speed = c[1];
        CFileBytes file(kVersion3);
        if (c[0])
            file.Int(18);
        file.Int(4).Int(0).Int(100).Envelope(e).Int(6).Int(0).Int(0).Int(100).Int(0).Bool(false);
        file.Envelope(e).Envelope(e).Int(15).Int(1).Int(1).Int(2).Envelope(e).Envelope(e);
        const CRixModuleData data = Loaded(file.Int(255).Bytes());
        const TRixOscillator& oscillator = data.channels[0].oscillators.at(0);
        for (int32_t speed : {data.channels[0].envelope.speed, oscillator.volumeEnvelope.speed,
                              oscillator.transitionEnvelope.speed, data.channels[1].effects.at(0).envelope2.speed})
            EXPECT_EQ(speed, c[2]) << "stored " << c[1];
    }
}

TEST(RixModuleFile, RecordsBuildOnADefaultSong)
{
    CRixModuleData data = rixtest::MakeFeatureModule();
    rixtest::LoadBytes(data, CFileBytes(kVersion3).Int(255).Bytes());
    EXPECT_EQ(data, CRixModuleData());

    // A channel record drops the oscillators read so far but not the effects.
    CFileBytes file(kVersion3);
    file.Int(18).Int(6).Int(2).Int(1).Int(50).Int(0).Bool(true).Envelope({}).Envelope({});
    file.Int(8).Int(2).Int(100).Int(50).Int(4).Int(2).Int(77).Envelope(rixtest::MakeEnvelope(3));
    // Transitions follow the oscillators: default ones fill in, extra ones go.
    file.Int(4).Int(0).Int(1).Envelope({}).Int(6).Int(0).Int(1).Int(2).Int(3).Bool(true).Envelope({}).Envelope({});
    file.Int(7).Int(1).Int(1).Int(2).Int(3).Envelope({}).Envelope({});
    data = Loaded(file.Int(255).Bytes());
    const TRixEffect delay{rix::RIXEFFECT_DELAY, {}, {}, 100, 50};
    EXPECT_EQ(data.channels[2], (CRixModuleChannel{77, {}, {}, {delay}, rixtest::MakeEnvelope(3)}));
    EXPECT_EQ(data.channels[0].transitionOscillators, std::vector<TRixOscillator>(1));
    EXPECT_EQ(data.channels[1].oscillators, std::vector<TRixOscillator>(1));
    EXPECT_EQ(data.channels[1].transitionOscillators, std::vector<TRixOscillator>(1));
}

TEST(RixModuleFile, LegacyRecordsOfEarlierVersions)
{
    const CRixModuleData tempo = Loaded(CFileBytes(kVersion3).Int(16).Int(1).Int(33).Int(1).Int(140).Int(255).Bytes());
    EXPECT_EQ(tempo.bpm, 140);
    EXPECT_EQ(tempo.masterVolume, 100);

    // Every record before record 18 has the old time base.
    TRixEnvelope e = rixtest::MakeEnvelope(3);
    e.speed /= 10;
    const CRixModuleData data = Loaded(rixtest::LegacyModuleFile().Bytes());
    EXPECT_EQ(data.channels[0].oscillators, (std::vector<TRixOscillator>{{1, 80, -300, e, e, false}}));
    EXPECT_EQ(data.channels[0].transitionOscillators, std::vector<TRixOscillator>(1));
    const std::vector<TRixEffect> drives{{rix::RIXEFFECT_OVERDRIVE, {}, {}, 7, 255},
                                         {rix::RIXEFFECT_OVERDRIVE, {}, {}, 8, 9}};
    EXPECT_EQ(data.channels[2].effects, drives);
}

TEST(RixModuleFileVersion2, SongChannelAndEnvelopeConversions)
{
    const float pi = 3.14159265358979f;
    CFileBytes file(kVersion2);
    file.Int(1).Int(133).Float(0.5f).WideString(u"title").WideString(u"").WideString(u"author");
    file.Int(4).Int(3).Float(0.5f).Envelope2({0.25f, 1.0f, 1.0f, pi / 2, pi, 100000.0f}, false, true, true);
    file.Int(4).Int(4).Float(std::numeric_limits<float>::quiet_NaN());
    file.Envelope2({1e10f, -1.0f, 2.5f, 0, 0, 0}, true, false, false);
    const CRixModuleData data = Loaded(file.Int(8).Bytes());

    EXPECT_EQ(data.bpm, 133);
    EXPECT_EQ(data.masterVolume, 127);
    const TRixEnvelope three{64, 256, 65, 0, 16384, 32768, 1043037806, false, true};
    const TRixEnvelope four{INT_MIN, -256, 163, 3, 0, 0, 0, true, false};
    EXPECT_EQ(data.channels[3], (CRixModuleChannel{127, {}, {}, {}, three}));
    EXPECT_EQ(data.channels[4], (CRixModuleChannel{INT_MIN, {}, {}, {}, four}));
}

TEST(RixModuleFileVersion2, OscillatorWaveformsAndFrequencyEnvelope)
{
    const int32_t waveforms[][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 0}, {-1, 0}};
    for (const auto& waveform : waveforms) {
        CFileBytes file(kVersion2);
        file.Int(7).Int(6).Int(12345).Int(waveform[0]);
        file.Envelope2({0.5f, 2.0f, 1.0f, 0, 0, 0}).Envelope2({-12.0f, 35.624f, 0.0f, 0, 0, 0});
        const CRixModuleData data = Loaded(file.Float(0.5f).Float(-0.255f).Bytes());
        // 2^(35.624/12) is 7.828125 in single precision: 2004, not 2003.
        const TRixOscillator oscillator{waveform[1], 127, -25, {128, 512, 65, 3, 0, 0, 0, true, false},
                                        {128, 2004, 0, 3, 0, 0, 0, true, false}, false};
        EXPECT_EQ(data.channels[6].oscillators, (std::vector<TRixOscillator>{{}, oscillator})) << waveform[0];
        EXPECT_EQ(data.channels[6].transitionOscillators, std::vector<TRixOscillator>(2));
    }
}

TEST(RixModuleFileVersion2, EffectsWhenOnAndIgnoredRecordsSkipped)
{
    CFileBytes file(kVersion2);
    file.Int(5).Int(2).Bool(true).Float(3.0f).Float(0.5f).Int(5).Int(2).Bool(false).Float(9.0f).Float(9.0f);
    file.Int(9).Int(-1).Bool(true).Int(77);
    file.Int(10).Bool(true).Float(1.0f).Float(2.0f).Envelope2({1, 2, 3, 4, 5, 6});
    file.Int(6).Int(2).Bool(true).Float(42.0f).Envelope2({100.7f, 200.2f, 1.0f, 0, 0, 0}, false, false, true);
    file.Int(6).Int(2).Bool(false).Float(42.0f).Envelope2({1, 2, 3, 0, 0, 0});

    CRixModuleData expected;
    expected.channels[2].effects = {{rix::RIXEFFECT_DELAY, {}, {}, 50, 128},
                                    {rix::RIXEFFECT_FLANGE, {100, 200, 65, 0, 0, 0, 0, false, false}, {}, 400, 128}};
    EXPECT_EQ(Loaded(file.Int(8).Bytes()), expected);
}

TEST(RixModuleFileVersion2, TablesAndTheEndOfTheFile)
{
    CFileBytes file(kVersion2);
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
}

TEST(InstrumentFile, SavedChannelLoadsBackAndLeavesOtherChannelsAlone)
{
    CRixModuleData module = rixtest::MakeFeatureModule();
    const CRixModuleData original = module;
    for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
        const std::string bytes = rixtest::SaveBytes(module.channels[c]);
        module.ResetChannel(c);
        rixtest::LoadBytes(module.channels[c], bytes);
        EXPECT_EQ(module, original) << "channel " << c;
        EXPECT_EQ(bytes.substr(0, 28), CFileBytes(kInstrument3).Bytes()) << "FF FE FF 0C and UTF-16LE";
    }
}

TEST(InstrumentFile, WithoutChannelRecordRecordsAppendToTheChannel)
{
    const TRixEnvelope envelope = rixtest::MakeEnvelope(5);
    CFileBytes file(kInstrument3);
    file.Int(18).Int(6).Int(1).Int(2).Int(3).Bool(true).Envelope(envelope).Envelope(envelope);
    file.Int(7).Int(3).Int(2).Int(1).Envelope(envelope).Envelope(envelope);
    file.Int(13).Unsigned(0x80000000u).Unsigned(4).Int(255);

    CRixModuleChannel channel = rixtest::MakeFeatureChannel(2);
    CRixModuleChannel expected = channel;
    expected.oscillators.push_back({1, 2, 3, envelope, envelope, true});
    expected.transitionOscillators.push_back({3, 2, 1, envelope, envelope, false});
    expected.effects.push_back({rix::RIXEFFECT_OVERDRIVE, {}, {}, INT_MIN, 4});
    rixtest::LoadBytes(channel, file.Bytes());
    EXPECT_EQ(channel, expected);
}

TEST(InstrumentFile, ChannelRecordEmptiesAllThreeLists)
{
    // Without record 18 a version 3 file has the old time base.
    TRixEnvelope stored;
    stored.speed = 655;
    TRixEnvelope old = stored;
    old.speed = 65;
    const std::pair<std::string, TRixEnvelope> cases[] = {
        {CFileBytes(kInstrument3).Int(4).Int(255).Envelope(stored).Int(255).Bytes(), old},
        {CFileBytes(kInstrument3).Int(18).Int(4).Int(255).Envelope(stored).Int(255).Bytes(), stored},
        {CFileBytes(kInstrument2).Int(4).Float(1.0f).Envelope2({0, 1, 1, 0, 0, 0}).Int(8).Bytes(),
         {0, 256, 6564, 3, 0, 0, 0, true, false}},
    };
    for (const auto& [file, envelope] : cases) {
        CRixModuleChannel channel = rixtest::MakeFeatureChannel(4);
        rixtest::LoadBytes(channel, file);
        EXPECT_EQ(channel, (CRixModuleChannel{255, {}, {}, {}, envelope}));
    }
}

TEST(InstrumentFileVersion2, ConversionsDifferFromModuleFiles)
{
    CFileBytes file(kInstrument2);
    file.Int(9).Bool(true).Float(7.0f);
    file.Int(4).Float(0.5f).Envelope2({0.5f, 1.0f, 1.0f, 100000.0f, 0, 0}, true, true, false);
    file.Int(7).Int(0).Int(3).Envelope2({0, 1, 0.1f, 0, 0, 0}).Envelope2({12.0f, 0, 0, 0, 0, 0});
    file.Float(1.0f).Float(2.0f);
    file.Int(5).Bool(true).Float(1.3f).Float(1.0f);
    file.Int(10).Bool(true).Float(0).Float(0).Envelope2({0, 0, 0, 0, 0, 0});
    file.Int(6).Bool(true).Float(0).Envelope2({-3.9f, 3.9f, 2.5f, 0, 0, 0});
    const CRixModuleChannel channel = rixtest::Loaded<CRixModuleChannel>(file.Int(8).Bytes());

    EXPECT_EQ(channel.volume, 128);
    EXPECT_EQ(channel.envelope, (TRixEnvelope{128, 256, 6564, 3, 1043037834, 0, 0, true, true}));
    ASSERT_EQ(channel.oscillators.size(), 1u);
    const TRixOscillator& oscillator = channel.oscillators[0];
    EXPECT_EQ(oscillator.type, rix::RIXOSC_SQUARE);
    EXPECT_EQ(oscillator.volume, 255);
    EXPECT_EQ(oscillator.pitch, 200);
    EXPECT_EQ(oscillator.volumeEnvelope.speed, 656);
    EXPECT_EQ(oscillator.transitionEnvelope.minValue, 512);
    EXPECT_EQ(channel.transitionOscillators, std::vector<TRixOscillator>(1));

    const TRixEnvelope flange{-3, 3, 16412, 3, 0, 0, 0, true, false};
    const std::vector<TRixEffect> effects{{rix::RIXEFFECT_DELAY, {}, {}, 22, 255},
                                          {rix::RIXEFFECT_FLANGE, flange, {}, 400, 128}};
    EXPECT_EQ(channel.effects, effects);
}

TEST(RixFileErrors, HeadersTagsChannelsAndOrderValues)
{
    for (std::u16string_view header : {u"SONRIX v3.0", u"sonrix v3.1", u"sonrix v3.0 ", u"", u"sonrixi v3.0"})
        ExpectFailure<nexilon::CDataFormatException>([&] { Loaded(CFileBytes(header).Int(255).Bytes()); },
                                                     "rix::CRixModuleData::Load", "RixModuleLoader",
                                                     "Invalid file format");
    for (std::u16string_view magic : {u"SONRIXI v3.0", u"sonrix v3.0", u"sonrixi v1.0", u""}) {
        CRixModuleChannel channel = rixtest::MakeFeatureChannel(3);
        ExpectFailure<nexilon::CDataFormatException>(
            [&] { rixtest::LoadBytes(channel, CFileBytes(magic).Int(4).Int(1).Envelope({}).Int(255).Bytes()); },
            "rix::CRixModuleChannel::Load", "InstrumentSaver", "Invalid file format");
        EXPECT_EQ(channel, rixtest::MakeFeatureChannel(3)) << "left as it was";
    }
    const std::vector<int32_t> version3[] = {{0}, {19}, {-1}, {254}, {18, 16, 1, 1, 256}};
    for (const auto& values : version3)
        ExpectInvalidData(kVersion3, values, "rix::CRixModuleData::LoadVersion3");
    // Every record with a channel number fails before its fields are read.
    for (int32_t tag : {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17})
        for (int32_t channel : {8, -1, INT_MIN})
            ExpectInvalidData(kVersion3, {tag, channel}, "rix::CRixModuleData::LoadVersion3");
    const std::vector<int32_t> version2[] = {{11},   {0},      {255},      {4, 8},      {5, -1},
                                             {6, 8}, {7, 100}, {2, 3, 16}, {2, INT_MAX}};
    for (const auto& values : version2)
        ExpectInvalidData(kVersion2, values, "rix::CRixModuleData::LoadVersion2");
    // Instrument files have no song records.
    for (int32_t tag : {1, 2, 3, 5, 12, 16, 0, 19, -1})
        ExpectInvalidData<CRixModuleChannel>(kInstrument3, {18, tag, 0}, "rix::CRixModuleChannel::LoadVersion3");
    for (int32_t tag : {1, 2, 3, 11, 255})
        ExpectInvalidData<CRixModuleChannel>(kInstrument2, {tag}, "rix::CRixModuleChannel::LoadVersion2");
}

TEST(RixFileErrors, EveryTruncationFailsButVersion2ModulesMayEndBetweenRecords)
{
    rixtest::ExpectEveryTruncationFails<CRixModuleData>(rixtest::SaveBytes(rixtest::MakeFeatureModule()));

    const CFileBytes version2 = rixtest::Version2ModuleFile();
    rixtest::ExpectEveryTruncationFails<CRixModuleData>(version2.Bytes(), version2.Marks());
    rixtest::ExpectEveryTruncationFails<CRixModuleChannel>(rixtest::SaveBytes(rixtest::MakeFeatureChannel(5)));
    // Version 2 instrument files need their end record.
    rixtest::ExpectEveryTruncationFails<CRixModuleChannel>(rixtest::Version2InstrumentFile().Bytes());
}

// Each seed in fuzz/seeds/<target>/ is rewritten only when it is out of date.
TEST(FuzzSeedCorpus, SeedsLoadAndAreUpToDate)
{
    const struct { const char* target; const char* name; std::string bytes; } seeds[] = {
        {"module", "features.sonrix", rixtest::SaveBytes(rixtest::MakeFeatureModule())},
        {"module", "legacy.sonrix", rixtest::LegacyModuleFile().Bytes()},
        {"module", "version2.sonrix", rixtest::Version2ModuleFile().Bytes()},
        {"instrument", "features.sonrixi", rixtest::SaveBytes(rixtest::MakeFeatureChannel(2))},
        {"instrument", "legacy.sonrixi", rixtest::LegacyInstrumentFile().Bytes()},
        {"instrument", "version2.sonrixi", rixtest::Version2InstrumentFile().Bytes()},
    };
    for (const auto& seed : seeds) {
        SCOPED_TRACE(seed.name);
        if (std::string_view(seed.target) == "module")
            EXPECT_NO_THROW(rixtest::Loaded<rix::CRixModuleData>(seed.bytes));
        else
            EXPECT_NO_THROW(rixtest::Loaded<rix::CRixModuleChannel>(seed.bytes));

        const std::filesystem::path folder = std::filesystem::path(SONRIX_SOURCE_DIR) / "fuzz" / "seeds" / seed.target;
        const std::string path = (folder / seed.name).string();
        if (std::filesystem::exists(path) && rixtest::ReadWholeFile(path) == seed.bytes)
            continue;
        // Written beside and renamed, so a fuzzer never sees half a seed.
        std::filesystem::create_directories(folder);
        const std::string temporary = (folder / ("." + std::string(seed.name) + ".tmp")).string();
        rixtest::WriteWholeFile(temporary, seed.bytes);
        std::filesystem::rename(temporary, path);
    }
}

} // namespace
