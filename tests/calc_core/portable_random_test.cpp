// Tests of the portable random numbers: the generators' first outputs, the streams, the unit
// draws, the logarithm against the C library's, and the normal draws' shares.
#include "calc_core/portable_random.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace calc_core {
namespace {

// Expected outputs here were computed in Python from the published algorithms; splitmix64's from
// 1234567 are also the values commonly quoted for it.
TEST(PortableRandom, GeneratorsFirstOutputs) {
    std::uint64_t state = 1234567;
    const std::uint64_t splitMix[] = {6457827717110365317u, 3203168211198807973u,
                                      9817491932198370423u, 4593380528125082431u,
                                      16408922859458223821u};
    for (std::uint64_t expected : splitMix) {
        EXPECT_EQ(SplitMix64(state), expected);
    }
    Xoshiro256StarStar xoshiro({1, 2, 3, 4});
    const std::uint64_t xoshiroOf1234[] = {
        11520u, 0u, 1509978240u, 1215971899390074240u, 1216172134540287360u, 607988272756665600u};
    for (std::uint64_t expected : xoshiroOf1234) {
        EXPECT_EQ(xoshiro.Next(), expected);
    }
}

// Stream i of a seed starts from splitmix64's outputs 4i + 1 to 4i + 4.
TEST(PortableRandom, StreamsOfSeeds) {
    struct Row {
        std::uint64_t seed, stream;
        std::uint64_t first[3];
    };
    const Row rows[] = {
        {1, 0, {0xb3f2af6d0fc710c5, 0x853b559647364cea, 0x92f89756082a4514}},
        {1, 1, {0x458df629d8b843a8, 0xd14224b2094538be, 0xe5c7cdea5b49f001}},
        {0xFFFFFFFFFFFFFFFF, 3, {0x3bc7db4c68822271, 0x524d6727908faa76, 0x8637f7f40a7f7c46}},
        {0, 0, {0x99ec5f36cb75f2b4, 0xbf6e1f784956452a, 0x1a5f849d4933e6e0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.seed << " stream " << row.stream);
        Xoshiro256StarStar generator = StreamOf(row.seed, row.stream);
        for (std::uint64_t expected : row.first) {
            EXPECT_EQ(generator.Next(), expected);
        }
    }
}

TEST(PortableRandom, SymmetricUnitFromTheTop53Bits) {
    const struct {
        std::uint64_t bits;
        double unit;
    } rows[] = {
        {0, -1 + 0x1p-53},
        {0x7FF, -1 + 0x1p-53}, // the low 11 bits are not used
        {0xFFFFFFFFFFFFFFFF, 1 - 0x1p-53},
        {std::uint64_t{1} << 63, 0x1p-53},
        {(std::uint64_t{1} << 63) - 0x800, -0x1p-53},
        {std::uint64_t{3} << 62, 0.5 + 0x1p-53},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SymmetricUnit(row.bits), row.unit) << std::hex << row.bits;
    }
}

// How many doubles lie between a and b.
std::int64_t UlpsApart(double a, double b) {
    const auto ordered = [](double x) {
        const auto bits = std::bit_cast<std::int64_t>(x);
        return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
    };
    const std::int64_t d = ordered(a) - ordered(b);
    return d < 0 ? -d : d;
}

// Within 1 ulp of the correctly rounded values of Python's math.log, and of the C library's over
// every exponent and, densely, near 1 where the result is smallest against its argument.
TEST(PortableRandom, LogWithinOneUlp) {
    const struct {
        double x, log;
    } rows[] = {
        {2, 0x1.62e42fefa39efp-1},
        {10, 2.302585092994046},
        {0.7, -0.35667494393873245},
        {1e-300, -690.7755278982137},
        {4.9406564584124654e-324, -744.4400719213812},
        {1.7976931348623157e308, 709.782712893384},
    };
    for (const auto& row : rows) {
        EXPECT_LE(UlpsApart(PortableLog(row.x), row.log), 1) << row.x;
    }
    EXPECT_EQ(PortableLog(1), 0.0);
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {0.0, -0.0, -1.0, inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(PortableLog(x))) << x;
    }
    Xoshiro256StarStar generator = StreamOf(7, 0);
    std::int64_t worst = 0;
    for (int i = 0; i < 400'000; ++i) {
        double x = std::bit_cast<double>(generator.Next() >> 1); // positive, any exponent
        if (i % 2 == 1) {
            x = 1 + SymmetricUnit(generator.Next()) * 0.3;
        }
        if (x == 0 || !std::isfinite(x)) {
            continue;
        }
        const std::int64_t apart = UlpsApart(PortableLog(x), std::log(x));
        worst = apart > worst ? apart : worst;
        ASSERT_LE(apart, 1) << std::hexfloat << x;
    }
    RecordProperty("worst_ulps", std::to_string(worst));
}

// Shares of a million draws against their probabilities (Python's math.erf), within 4 standard
// errors of a binomial share. Normals are drawn 7 at a time, as a board without the diode draws
// them, so that the leftovers of each batch are dropped.
TEST(PortableRandom, DrawsFollowTheirDistributions) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double limit;  // 0: uniform draws
        double within; // |x| <= within
        double share;
    } rows[] = {
        {0, 0.25, 0.25},
        {0, 0.9, 0.9},
        {inf, 1, 0.6826894921370859},
        {inf, 2, 0.9544997361036416},
        {inf, 3, 1 - 0.0026997960632601913},
        {3, 1, 0.684537604065696},
        {3, 3, 1},
    };
    constexpr std::size_t Draws = 1'001'000;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.limit << " within " << row.within);
        PortableRandom random(StreamOf(11, 0));
        std::vector<double> draws(Draws);
        for (std::size_t i = 0; i < Draws; i += 7) {
            for (std::size_t k = i; row.limit == 0 && k < i + 7; ++k) {
                draws[k] = random.Uniform();
            }
            if (row.limit != 0) {
                random.Normals(std::span(draws).subspan(i, 7), row.limit);
            }
        }
        double inside = 0;
        double sum = 0;
        for (double x : draws) {
            inside += std::fabs(x) <= row.within ? 1 : 0;
            sum += x;
        }
        const double error = 4 * std::sqrt(row.share * (1 - row.share) / Draws);
        EXPECT_NEAR(inside / Draws, row.share, error);
        EXPECT_NEAR(sum / Draws, 0, 4 / std::sqrt(double(Draws)));
    }
}

} // namespace
} // namespace calc_core
