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

constexpr const char* kSource = "InstrumentSaver";

CFileBytes Version3()
{
    CFileBytes file;
    file.WideString(u"sonrixi v3.0");
    return file;
}

CFileBytes Version2()
{
    CFileBytes file;
    file.WideString(u"sonrixi v2.0");
    return file;
}

CRixModuleChannel Loaded(const std::string& bytes)
{
    CRixModuleChannel channel;
    rixtest::LoadInstrumentBytes(channel, bytes);
    return channel;
}

// ---- Round trips and the written layout ----

TEST(InstrumentFile, DefaultChannelHasExactlyTheListedRecords)
{
    CFileBytes expected = Version3();
    expected.Int(18).Int(4).Int(100).Envelope(TRixEnvelope::ChannelDefault());
    expected.Int(6).Int(0).Int(100).Int(0).Bool(false).Envelope({}).Envelope({});
    expected.Int(7).Int(0).Int(100).Int(0).Envelope({}).Envelope({});
    expected.Int(255);
    const std::string bytes = rixtest::SaveInstrumentBytes(CRixModuleChannel());
    ASSERT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE\xFF\x0C", 4));
    EXPECT_EQ(bytes, expected.Bytes());
}

TEST(InstrumentFile, SavedChannelLoadsBackAndLeavesOtherChannelsAlone)
{
    rix::CRixModuleData module = rixtest::MakeFeatureModule();
    const rix::CRixModuleData original = module;
    for (int c = 0; c < rix::RIX_CHANNELS; ++c) {
        const std::string bytes = rixtest::SaveInstrumentBytes(module.channels[c]);
        module.ResetChannel(c);
        rixtest::LoadInstrumentBytes(module.channels[c], bytes);
        EXPECT_EQ(module, original) << "channel " << c;
    }
}

TEST(InstrumentFile, WithoutChannelRecordRecordsAppendToTheChannel)
{
    const TRixEnvelope envelope = rixtest::MakeEnvelope(5);
    CFileBytes file = Version3();
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

    rixtest::LoadInstrumentBytes(channel, file.Bytes());
    EXPECT_EQ(channel, expected);
}

TEST(InstrumentFile, ChannelRecordEmptiesAllThreeLists)
{
    CFileBytes file = Version3();
    file.Int(4).Int(55).Envelope(rixtest::MakeEnvelope(1)).Int(255);
    CRixModuleChannel channel = rixtest::MakeFeatureChannel(4);
    rixtest::LoadInstrumentBytes(channel, file.Bytes());
    EXPECT_EQ(channel.volume, 55);
    EXPECT_TRUE(channel.oscillators.empty());
    EXPECT_TRUE(channel.transitionOscillators.empty());
    EXPECT_TRUE(channel.effects.empty());
}

TEST(InstrumentFile, EnvelopeSpeedsOfOldFilesAreConverted)
{
    TRixEnvelope stored = TRixEnvelope::Default();
    stored.speed = 655;
    for (bool currentTimeBase : {false, true}) {
        CFileBytes file = Version3();
        if (currentTimeBase)
            file.Int(18);
        file.Int(4).Int(1).Envelope(stored).Int(14).Int(1).Int(2).Envelope(stored).Envelope(stored).Int(255);
        const CRixModuleChannel channel = Loaded(file.Bytes());
        const int32_t expected = currentTimeBase ? 655 : 65;
        EXPECT_EQ(channel.envelope.speed, expected);
        EXPECT_EQ(channel.effects.at(0).envelope2.speed, expected);
    }
}

// ---- Version 2 ----

TEST(InstrumentFileVersion2, ConversionsDifferFromModuleFiles)
{
    CFileBytes file = Version2();
    file.Int(9).Bool(true).Float(7.0f);
    file.Int(4).Float(0.5f).Envelope2({0.5f, 1.0f, 1.0f, 100000.0f, 0, 0}, true, true, false);
    file.Int(7).Int(0).Int(3).Envelope2({0, 1, 0.1f, 0, 0, 0}).Envelope2({12.0f, 0, 0, 0, 0, 0});
    file.Float(1.0f).Float(2.0f);
    file.Int(5).Bool(true).Float(1.3f).Float(1.0f);
    file.Int(10).Bool(true).Float(0).Float(0).Envelope2({0, 0, 0, 0, 0, 0});
    file.Int(6).Bool(true).Float(0).Envelope2({-3.9f, 3.9f, 2.5f, 0, 0, 0});
    file.Int(8);
    const CRixModuleChannel channel = Loaded(file.Bytes());

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

TEST(InstrumentFileVersion2, ChannelRecordEmptiesTheLists)
{
    CRixModuleChannel channel = rixtest::MakeFeatureChannel(1);
    rixtest::LoadInstrumentBytes(channel, Version2().Int(4).Float(1.0f).Envelope2({0, 1, 1, 0, 0, 0}).Int(8).Bytes());
    EXPECT_EQ(channel.volume, 255);
    EXPECT_TRUE(channel.oscillators.empty());
    EXPECT_TRUE(channel.effects.empty());
}

// ---- Failures ----

TEST(InstrumentFileErrors, MagicNeitherVersionLeavesTheChannelUnchanged)
{
    const std::u16string magics[] = {u"SONRIXI v3.0", u"sonrix v3.0", u"sonrixi v1.0", u""};
    for (const std::u16string& magic : magics) {
        CFileBytes file;
        file.WideString(magic).Int(4).Int(1).Envelope({}).Int(255);
        CRixModuleChannel channel = rixtest::MakeFeatureChannel(3);
        ExpectFailure<nexilon::CDataFormatException>(
            [&] { rixtest::LoadInstrumentBytes(channel, file.Bytes()); }, "rix::CRixModuleChannel::Load", kSource,
            "Invalid file format");
        EXPECT_EQ(channel, rixtest::MakeFeatureChannel(3));
    }
    // The narrow form of the same text is the same string.
    CFileBytes narrow;
    narrow.Byte(12).Byte('s').Byte('o').Byte('n').Byte('r').Byte('i').Byte('x').Byte('i');
    narrow.Byte(' ').Byte('v').Byte('3').Byte('.').Byte('0').Int(255);
    EXPECT_EQ(Loaded(narrow.Bytes()), CRixModuleChannel());
}

TEST(InstrumentFileErrors, ModuleOnlyAndUnknownRecordsAreInvalid)
{
    for (int32_t tag : {1, 2, 3, 5, 12, 16, 0, 19, -1}) {
        SCOPED_TRACE("tag " + std::to_string(tag));
        ExpectFailure<nexilon::CDataFormatException>([&] { Loaded(Version3().Int(18).Int(tag).Int(0).Bytes()); },
                                                     "rix::CRixModuleChannel::LoadVersion3", kSource,
                                                     "Invalid data format");
    }
    for (int32_t tag : {1, 2, 3, 11, 255}) {
        SCOPED_TRACE("version 2 tag " + std::to_string(tag));
        ExpectFailure<nexilon::CDataFormatException>([&] { Loaded(Version2().Int(tag).Bytes()); },
                                                     "rix::CRixModuleChannel::LoadVersion2", kSource,
                                                     "Invalid data format");
    }
}

void ExpectEveryTruncationFails(const std::string& bytes)
{
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        try {
            Loaded(bytes.substr(0, length));
            ADD_FAILURE() << "a file cut to " << length << " of " << bytes.size() << " bytes loaded";
        } catch (const nexilon::CIOException& error) {
            EXPECT_EQ(error.GetMessage(), "Unexpected end of stream") << "length " << length;
        }
    }
}

TEST(InstrumentFileErrors, EveryTruncationFails)
{
    ExpectEveryTruncationFails(rixtest::SaveInstrumentBytes(rixtest::MakeFeatureChannel(5)));

    // Version 2 files need their end record.
    CFileBytes file = Version2();
    file.Int(4).Float(0.5f).Envelope2({0, 1, 1, 0, 0, 0});
    file.Int(7).Int(0).Int(2).Envelope2({0, 1, 1, 0, 0, 0}).Envelope2({0, 1, 1, 0, 0, 0}).Float(1).Float(0);
    file.Int(5).Bool(true).Float(1).Float(1).Int(6).Bool(true).Float(0).Envelope2({0, 1, 1, 0, 0, 0});
    file.Int(9).Bool(true).Float(0).Int(10).Bool(true).Float(0).Float(0).Envelope2({0, 1, 1, 0, 0, 0});
    ExpectEveryTruncationFails(file.Int(8).Bytes());
}

} // namespace
