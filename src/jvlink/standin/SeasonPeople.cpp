// The people and horses of the season: jockeys, trainers, owners and breeders, the stallions
// and broodmares, and each year's crop of foals with its racing character.
#include "jvdata/SjisText.h"
#include "jvlink/standin/SeasonInternal.h"
#include "jvlink/standin/SeasonNames.h"

#include <algorithm>
#include <cstdio>

namespace standin::season {

namespace {

// Characters of a Shift-JIS text that is all full-width.
std::size_t Chars(const std::string& sjis) {
    return Sjis::CharCount(sjis);
}

std::string Digits(std::uint64_t value, int width) {
    std::string text(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0 && value > 0; --i) {
        text[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return text;
}

// A made-up katakana name of `length` characters, not starting with ン or ー.
std::string SyllableName(TRandom& rng, int length) {
    const auto& syllables = NameTables().syllables;
    std::string name;
    for (int i = 0; i < length; ++i) {
        const int limit = static_cast<int>(syllables.size()) - (i == 0 ? 2 : 0);
        name += syllables[static_cast<std::size_t>(rng.Below(limit))];
    }
    return name;
}

// Four full-width characters: a family name and a given name, unused so far.
std::string PersonName(TRandom& rng, std::unordered_set<std::string>& used) {
    const auto& t = NameTables();
    for (;;) {
        std::string name = rng.Of(t.surnames) + rng.Of(t.givenNames);
        if (used.insert(name).second) {
            return name;
        }
    }
}

TAncestor Ancestor(std::string name, char kind, TRandom& rng) {
    // Breeding registration numbers: 11 for stallions, 12 for mares, then eight digits.
    return {std::move(name), std::string(kind == 'S' ? "11" : "12") +
                                 Digits(static_cast<std::uint64_t>(rng.Between(0, 99999999)), 8)};
}

} // namespace

std::string TNameBook::Claim(std::string name) {
    used_.insert(name);
    return name;
}

std::string TNameBook::HorseName(TRandom& rng, const std::string& crown) {
    const auto& words = NameTables().horseWords;
    for (int attempt = 0; attempt < 60; ++attempt) {
        std::string name;
        if (!crown.empty() && attempt < 30 && rng.Chance(0.7)) {
            name = crown + rng.Of(words);
        } else {
            const std::string& first = rng.Of(words);
            const std::string& second = rng.Of(words);
            if (Chars(first) >= 4 && rng.Chance(0.12)) {
                name = first;
            } else if (first != second) {
                name = first + second;
            }
        }
        const std::size_t chars = Chars(name);
        if (chars >= 2 && chars <= 9 && !Taken(name)) {
            return Claim(std::move(name));
        }
    }
    for (;;) {
        std::string name = SyllableName(rng, rng.Between(4, 8));
        if (!Taken(name)) {
            return Claim(std::move(name));
        }
    }
}

std::string TNameBook::MareName(TRandom& rng) {
    const auto& t = NameTables();
    for (int attempt = 0; attempt < 60; ++attempt) {
        std::string name;
        const double u = rng.Unit();
        if (u < 0.35) {
            name = rng.Of(t.horseWords) + rng.Of(t.mareWords);
        } else if (u < 0.5) {
            name = rng.Of(t.crowns) + rng.Of(t.mareWords);
        } else if (u < 0.65) {
            name = rng.Of(t.mareWords) + rng.Of(t.horseWords);
        } else {
            const std::string& first = rng.Of(t.horseWords);
            const std::string& second = rng.Of(t.horseWords);
            if (first != second) {
                name = first + second;
            }
        }
        const std::size_t chars = Chars(name);
        if (chars >= 2 && chars <= 9 && !Taken(name)) {
            return Claim(std::move(name));
        }
    }
    for (;;) {
        std::string name = SyllableName(rng, rng.Between(4, 7));
        if (!Taken(name)) {
            return Claim(std::move(name));
        }
    }
}

void MakePeople(TSeason& season, TRandom& rng) {
    const auto& t = NameTables();
    std::unordered_set<std::string> used;

    // Sixty jockeys, half in each training centre; the first few of each are the leading
    // riders, eight are apprentices claiming an allowance.
    for (int i = 0; i < 60; ++i) {
        TJockey jockey;
        jockey.name = PersonName(rng, used);
        jockey.code = 1001 + i * 13;
        jockey.region = i < 30 ? TRegion::East : TRegion::West;
        const int rank = i % 30;
        jockey.skill = 0.28 - rank * 0.012 + rng.Normal(0, 0.04);
        if (rank >= 26) {
            jockey.allowance = rank - 25 <= 3 ? 4 - (rank - 25) : 1; // 3, 2, 1 and 1 kg
            jockey.skill -= 0.05;
        }
        season.jockeys.push_back(std::move(jockey));
    }
    // Eighty trainers.
    for (int i = 0; i < 80; ++i) {
        TTrainer trainer;
        trainer.name = PersonName(rng, used);
        trainer.code = 1011 + i * 17;
        trainer.region = i < 40 ? TRegion::East : TRegion::West;
        season.trainers.push_back(std::move(trainer));
    }
    // Owners: the first forty have a crown name for their horses.
    static const std::string kLimited = Sjis::FromUtf8("（有）");
    static const std::string kCompany = Sjis::FromUtf8("（株）");
    static const std::string kRacing = Sjis::FromUtf8("レーシング");
    static const std::string kClub = Sjis::FromUtf8("ホースクラブ");
    static const std::string kFarm = Sjis::FromUtf8("ファーム");
    static const std::string kStud = Sjis::FromUtf8("牧場");
    static const std::string kStable = Sjis::FromUtf8("ステーブル");
    for (int i = 0; i < 120; ++i) {
        TOwner owner;
        owner.code = 100001 + i * 37;
        if (i < static_cast<int>(t.crowns.size())) {
            owner.crown = t.crowns[static_cast<std::size_t>(i)];
        }
        switch (rng.Below(5)) {
        case 0:
        case 1:
            owner.name = PersonName(rng, used);
            break;
        case 2:
            owner.name = (rng.Chance(0.5) ? kLimited : kCompany) + rng.Of(t.companyWords) +
                         (rng.Chance(0.5) ? kStable : kRacing);
            break;
        case 3:
            owner.name = (owner.crown.empty() ? rng.Of(t.companyWords) : owner.crown) +
                         (rng.Chance(0.5) ? kRacing : kClub);
            break;
        default:
            owner.name = kCompany + rng.Of(t.surnames) + rng.Of(t.companyWords);
            break;
        }
        season.owners.push_back(std::move(owner));
    }
    // Breeders of the breeding districts; their town is the horses' place of birth.
    for (int i = 0; i < 80; ++i) {
        TBreeder breeder;
        breeder.code = 10000001 + i * 101;
        switch (rng.Below(3)) {
        case 0:
            breeder.name = rng.Of(t.surnames) + kStud;
            break;
        case 1:
            breeder.name = rng.Of(t.companyWords) + kFarm;
            break;
        default:
            breeder.name = kLimited + rng.Of(t.surnames) + kStud;
            break;
        }
        // Most foals are bred in Hokkaido: the first fifteen places.
        const int place = rng.Chance(0.93) ? rng.Below(15) : 15 + rng.Below(5);
        breeder.place = t.birthPlaces[static_cast<std::size_t>(place)];
        season.breeders.push_back(std::move(breeder));
    }
}

void AddCareers(TSeason& season, std::uint64_t seed, int firstYear, int lastYear) {
    TRandom rng(Mix(seed, 0x43415245ull)); // "CARE"
    std::unordered_set<std::string> used;
    for (const auto& j : season.jockeys) {
        used.insert(j.name);
    }
    for (const auto& t : season.trainers) {
        used.insert(t.name);
    }
    for (const auto& o : season.owners) {
        used.insert(o.name);
    }
    // Those of the start: an apprentice is in the year of its allowance (3 kg the first), and
    // about half of the others stop some time in the years simulated.
    for (auto& j : season.jockeys) {
        if (j.allowance > 0) {
            j.firstYear = firstYear - (3 - std::min(j.allowance, 3));
        } else if (rng.Chance(0.5)) {
            j.lastYear = rng.Between(firstYear, lastYear);
        }
    }
    for (auto& t : season.trainers) {
        if (rng.Chance(0.4)) {
            t.lastYear = rng.Between(firstYear, lastYear);
        }
    }
    // Each year the newcomers take the places of those who stopped the year before: the
    // jockeys start as apprentices, weaker than the leading riders, and a third of them give
    // up after a few years.
    for (int year = firstYear + 1; year <= lastYear; ++year) {
        const std::size_t jockeys = season.jockeys.size();
        for (std::size_t i = 0; i < jockeys; ++i) {
            if (season.jockeys[i].lastYear != year - 1) {
                continue;
            }
            TJockey j;
            j.name = PersonName(rng, used);
            j.code = 1001 + static_cast<int>(season.jockeys.size()) * 13;
            j.region = season.jockeys[i].region;
            j.skill = 0.28 - rng.Between(12, 29) * 0.012 + rng.Normal(0, 0.04);
            j.firstYear = year;
            if (rng.Chance(0.3)) {
                j.lastYear = std::min(lastYear + 1, year + rng.Between(3, 8));
                j.lastYear = j.lastYear > lastYear ? 0 : j.lastYear;
            }
            season.jockeys.push_back(std::move(j));
        }
        const std::size_t trainers = season.trainers.size();
        for (std::size_t i = 0; i < trainers; ++i) {
            if (season.trainers[i].lastYear != year - 1) {
                continue;
            }
            TTrainer t;
            t.name = PersonName(rng, used);
            t.code = 1011 + static_cast<int>(season.trainers.size()) * 17;
            t.region = season.trainers[i].region;
            t.firstYear = year;
            season.trainers.push_back(std::move(t));
        }
    }
}

TStud MakeStud(TNameBook& names, TRandom& rng) {
    TStud stud;
    // The great sires of the past: the third row of the stallions' pedigrees.
    std::vector<TAncestor> founders;
    std::vector<TAncestor> foundersMares;
    for (int i = 0; i < 8; ++i) {
        founders.push_back(Ancestor(names.HorseName(rng, {}), 'S', rng));
        foundersMares.push_back(Ancestor(names.MareName(rng), 'M', rng));
    }
    std::vector<TAncestor> grandSires;
    std::vector<int> grandSireLine;
    for (int i = 0; i < 14; ++i) {
        grandSires.push_back(Ancestor(names.HorseName(rng, {}), 'S', rng));
        grandSireLine.push_back(rng.Below(static_cast<int>(founders.size())));
    }
    auto stallion = [&]() {
        TStallion s;
        s.self = Ancestor(names.HorseName(rng, {}), 'S', rng);
        const int line = rng.Below(static_cast<int>(grandSires.size()));
        s.sire = grandSires[static_cast<std::size_t>(line)];
        s.sireSire =
            founders[static_cast<std::size_t>(grandSireLine[static_cast<std::size_t>(line)])];
        s.sireDam = rng.Of(foundersMares);
        s.dam = Ancestor(names.MareName(rng), 'M', rng);
        s.damSire = rng.Of(founders);
        s.damDam = Ancestor(names.MareName(rng), 'M', rng);
        s.turf = rng.Uniform(-1.0, 1.0);
        s.distance = rng.Between(12, 26) * 100;
        return s;
    };
    for (int i = 0; i < 40; ++i) {
        stud.sires.push_back(stallion());
    }
    for (int i = 0; i < 40; ++i) {
        stud.damSires.push_back(stallion());
    }
    stud.mares.resize(9000);
    for (auto& mare : stud.mares) {
        mare.sire = rng.Below(static_cast<int>(stud.damSires.size()));
    }
    return stud;
}

void FillPedigree(THorse& horse, TStud& stud, TNameBook& names, std::uint64_t seed) {
    const TStallion& sire = stud.sires[static_cast<std::size_t>(horse.sire)];
    TMare& mare = stud.mares[static_cast<std::size_t>(horse.mare)];
    if (!mare.named) {
        TRandom rng(Mix(seed, static_cast<std::uint64_t>(horse.mare), 0x4D415245)); // "MARE"
        mare.self = Ancestor(names.MareName(rng), 'M', rng);
        mare.dam = Ancestor(names.MareName(rng), 'M', rng);
        mare.damSire = rng.Of(stud.sires).self;
        mare.damDam = Ancestor(names.MareName(rng), 'M', rng);
        mare.named = true;
    }
    const TStallion& damSire = stud.damSires[static_cast<std::size_t>(mare.sire)];
    horse.pedigree = {sire.self,    mare.self,     sire.sire,    sire.dam,     damSire.self,
                      mare.dam,     sire.sireSire, sire.sireDam, sire.damSire, sire.damDam,
                      damSire.sire, damSire.dam,   mare.damSire, mare.damDam};
}

void MakeCrop(TSeason& season, const TStud& stud, TNameBook& /*names*/, int year, int count,
              std::uint64_t seed) {
    TRandom rng(Mix(seed, static_cast<std::uint64_t>(year), 0x43524F50)); // "CROP"
    static constexpr double kCoatWeights[] = {20, 3, 36, 20, 7, 2, 11, 0.5, 0.3, 0.1, 0.1};
    static constexpr double kSymbolWeights[] = {88, 2, 0, 2, 4, 0, 4};
    static constexpr const char* kSymbols[] = {"00", "01", "02", "03", "04", "05", "06"};
    std::vector<double> ownerWeights(season.owners.size(), 1.0);
    for (std::size_t i = 0; i < ownerWeights.size() && i < 20; ++i) {
        ownerWeights[i] = 3.0;
    }
    std::vector<double> sireWeights;
    for (std::size_t i = 0; i < stud.sires.size(); ++i) {
        sireWeights.push_back(40.0 - static_cast<double>(i) * 0.8);
    }
    for (int i = 0; i < count; ++i) {
        THorse h;
        h.foalYear = year;
        h.number = Digits(static_cast<std::uint64_t>(year), 4) + "1" +
                   Digits(static_cast<std::uint64_t>(i + 1), 5);
        h.birthDay = DayNumber(year, 2, 1) + rng.Between(0, 60) + rng.Between(0, 59);
        const double sex = rng.Unit();
        h.sex = sex < 0.52 ? '1' : sex < 0.97 ? '2' : '3';
        char coat[12]; // room for any int, so the format can never cut it
        std::snprintf(coat, sizeof coat, "%02d", rng.Pick(kCoatWeights) + 1);
        h.coat = coat;
        h.symbol = kSymbols[rng.Pick(kSymbolWeights)];
        h.trainer = rng.Below(static_cast<int>(season.trainers.size()));
        h.owner = rng.Pick(ownerWeights);
        h.breeder = rng.Below(static_cast<int>(season.breeders.size()));
        h.sire = rng.Pick(sireWeights);
        h.mare = rng.Below(static_cast<int>(stud.mares.size()));
        const TStallion& sire = stud.sires[static_cast<std::size_t>(h.sire)];
        h.ability = rng.Normal(0, 0.9);
        h.turf = std::clamp(sire.turf * 0.6 + rng.Normal(0, 0.5), -1.0, 1.0);
        h.bestDistance = std::clamp(
            static_cast<int>((sire.distance + rng.Normal(0, 300)) / 100.0 + 0.5) * 100, 1000, 3200);
        h.style = rng.Unit();
        h.wetLiking = rng.Normal(0, 0.35);
        h.blinkers = rng.Chance(0.1);
        h.baseWeight =
            std::clamp(static_cast<int>(rng.Normal(472, 24)) + (h.sex == '2' ? -12 : 8), 390, 560);
        // First runs from June of the 2-year-old year into the spring of the next one.
        const double when = rng.Unit();
        const int offset = when < 0.45  ? rng.Between(0, 120)
                           : when < 0.8 ? rng.Between(120, 210)
                                        : rng.Between(210, 300);
        h.debutDay = DayNumber(year + 2, 6, 1) + offset;
        h.readyDay = h.debutDay;
        season.horses.push_back(std::move(h));
    }
}

} // namespace standin::season
