#include <gtest/gtest.h>

#include <climits>

#include "RixFileTestData.h"
#include "RixModuleData.h"

namespace {

using rix::CRixModuleChannel;
using rix::TRixEffect;
using rix::TRixEnvelope;
using rix::TRixOscillator;
using rixtest::CFileBytes;
using rixtest::ExpectFailure;

constexpr std::u16string_view kVersion3 = u"sonrixi v3.0";
constexpr std::u16string_view kVersion2 = u"sonrixi v2.0";

CRixModuleChannel Loaded(const std::string& bytes)
{
    return rixtest::Loaded<CRixModuleChannel>(bytes);
}

TEST(InstrumentFile, DefaultChannelHasExactlyTheListedRecords)
{
    CFileBytes expected(kVersion3);
    expected.Int(18).Int(4).Int(100).Envelope(TRixEnvelope::ChannelDefault());
    expected.Int(6).Int(0).Int(100).Int(0).Bool(false).Envelope({}).Envelope({});
    expected.Int(7).Int(0).Int(100).Int(0).Envelope({}).Envelope({}).Int(255);
    const std::string bytes = rixtest::SaveBytes(CRixModuleChannel());
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE\xFF\x0C", 4));
    EXPECT_EQ(bytes, expected.Bytes());
}

TEST(InstrumentFile, SavedChannelLoadsBackAndLeavesOtherChannelsAlone)
{
    rix::CRixModuleData module = rixtest::MakeFeatureModule();
    const rix::CRixModuleData original = module;
    for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
        const std::string bytes = rixtest::SaveBytes(module.channels[c]);
        module.ResetChannel(c);
        rixtest::LoadBytes(module.channels[c], bytes);
        EXPECT_EQ(module, original) << "channel " << c;
    }
}

TEST(InstrumentFile, WithoutChannelRecordRecordsAppendToTheChannel)
{
    const TRixEnvelope envelope = rixtest::MakeEnvelope(5);
    CFileBytes file(kVersion3);
    file.Int(18).Int(6).Int(1).Int(2).Int(3).Bool(true).Envelope(envelope).Envelope(envelope);
    file.Int(7).Int(3).Int(2).Int(1).Envelope(envelope).Envelope(envelope);
    file.Int(13).Unsigned(0x80000000u).Unsigned(4).Int(255);

    CRixModuleChannel channel = rixtest::MakeFeatureChannel(2);
    CRixModuleChannel expected = channel;
    expected.oscillators.push_back({1, 2, 3, envelope, envelope, true});
    expected.transitionOscillators.push_back({3, 2, 1, envelope, envelope, false});
    TRixEffect overdrive = TRixEffect::OfType(rix::RIXEFFECT_OVERDRIVE);
    overdrive.param1 = INT_MIN;
    overdrive.param2 = 4;
    expected.effects.push_back(overdrive);
    rixtest::LoadBytes(channel, file.Bytes());
    EXPECT_EQ(channel, expected);
}

TEST(InstrumentFile, ChannelRecordEmptiesAllThreeLists)
{
    // Without record 18 a version 3 file has the old time base.
    TRixEnvelope stored;
    stored.speed = 655;
    const std::pair<std::string, int32_t> cases[] = {
        {CFileBytes(kVersion3).Int(4).Int(255).Envelope(stored).Int(255).Bytes(), 65},
        {CFileBytes(kVersion3).Int(18).Int(4).Int(255).Envelope(stored).Int(255).Bytes(), 655},
        {CFileBytes(kVersion2).Int(4).Float(1.0f).Envelope2({0, 1, 1, 0, 0, 0}).Int(8).Bytes(), 6564},
    };
    for (const auto& [file, speed] : cases) {
        CRixModuleChannel channel = rixtest::MakeFeatureChannel(4);
        rixtest::LoadBytes(channel, file);
        EXPECT_EQ(channel.volume, 255);
        EXPECT_EQ(channel.envelope.speed, speed);
        EXPECT_TRUE(channel.oscillators.empty());
        EXPECT_TRUE(channel.transitionOscillators.empty());
        EXPECT_TRUE(channel.effects.empty());
    }
}

TEST(InstrumentFileVersion2, ConversionsDifferFromModuleFiles)
{
    CFileBytes file(kVersion2);
    file.Int(9).Bool(true).Float(7.0f);
    file.Int(4).Float(0.5f).Envelope2({0.5f, 1.0f, 1.0f, 100000.0f, 0, 0}, true, true, false);
    file.Int(7).Int(0).Int(3).Envelope2({0, 1, 0.1f, 0, 0, 0}).Envelope2({12.0f, 0, 0, 0, 0, 0});
    file.Float(1.0f).Float(2.0f);
    file.Int(5).Bool(true).Float(1.3f).Float(1.0f);
    file.Int(10).Bool(true).Float(0).Float(0).Envelope2({0, 0, 0, 0, 0, 0});
    file.Int(6).Bool(true).Float(0).Envelope2({-3.9f, 3.9f, 2.5f, 0, 0, 0});
    const CRixModuleChannel channel = Loaded(file.Int(8).Bytes());

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

    TRixEffect delay = TRixEffect::OfType(rix::RIXEFFECT_DELAY);
    delay.param1 = 22;
    delay.param2 = 255;
    TRixEffect flange = TRixEffect::OfType(rix::RIXEFFECT_FLANGE);
    flange.envelope1 = {-3, 3, 16412, 3, 0, 0, 0, true, false};
    EXPECT_EQ(channel.effects, (std::vector<TRixEffect>{delay, flange}));
}

TEST(InstrumentFileErrors, MagicNeitherVersionLeavesTheChannelUnchanged)
{
    for (std::u16string_view magic : {u"SONRIXI v3.0", u"sonrix v3.0", u"sonrixi v1.0", u""}) {
        CRixModuleChannel channel = rixtest::MakeFeatureChannel(3);
        ExpectFailure<nexilon::CDataFormatException>(
            [&] { rixtest::LoadBytes(channel, CFileBytes(magic).Int(4).Int(1).Envelope({}).Int(255).Bytes()); },
            "rix::CRixModuleChannel::Load", "InstrumentSaver", "Invalid file format");
        EXPECT_EQ(channel, rixtest::MakeFeatureChannel(3));
    }
    // The narrow form of the same text is the same string.
    CFileBytes narrow;
    for (char c : std::string_view("\x0csonrixi v3.0"))
        narrow.Byte(static_cast<uint8_t>(c));
    EXPECT_EQ(Loaded(narrow.Int(255).Bytes()), CRixModuleChannel());
}

TEST(InstrumentFileErrors, ModuleOnlyAndUnknownRecordsAreInvalid)
{
    const auto expectInvalid = [](const std::string& bytes, const char* function) {
        ExpectFailure<nexilon::CDataFormatException>([&] { Loaded(bytes); }, function, "InstrumentSaver",
                                                     "Invalid data format");
    };
    for (int32_t tag : {1, 2, 3, 5, 12, 16, 0, 19, -1})
        expectInvalid(CFileBytes(kVersion3).Int(18).Int(tag).Int(0).Bytes(), "rix::CRixModuleChannel::LoadVersion3");
    for (int32_t tag : {1, 2, 3, 11, 255})
        expectInvalid(CFileBytes(kVersion2).Int(tag).Bytes(), "rix::CRixModuleChannel::LoadVersion2");
}

TEST(InstrumentFileErrors, EveryTruncationFails)
{
    rixtest::ExpectEveryTruncationFails<CRixModuleChannel>(rixtest::SaveBytes(rixtest::MakeFeatureChannel(5)));

    // Version 2 files need their end record.
    const std::array<float, 6> envelope{0, 1, 1, 0, 0, 0};
    CFileBytes file(kVersion2);
    file.Int(4).Float(0.5f).Envelope2(envelope);
    file.Int(7).Int(0).Int(2).Envelope2(envelope).Envelope2(envelope).Float(1).Float(0);
    file.Int(5).Bool(true).Float(1).Float(1).Int(6).Bool(true).Float(0).Envelope2(envelope);
    file.Int(9).Bool(true).Float(0).Int(10).Bool(true).Float(0).Float(0).Envelope2(envelope);
    rixtest::ExpectEveryTruncationFails<CRixModuleChannel>(file.Int(8).Bytes());
}

} // namespace
