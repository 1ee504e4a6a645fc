// The words the built-in season makes its names from: horses, dams and sires, jockeys and
// trainers, owners and breeders, places of birth, and the names of special and graded races.
// Every table is Shift-JIS, converted once from the UTF-8 words below.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace standin::season {

struct TNameTables {
    std::vector<std::string> horseWords;                 // katakana words of one to six characters
    std::vector<std::string> crowns;                     // owners' crown names (冠名), katakana
    std::vector<std::string> mareWords;                  // katakana endings for dams' names
    std::vector<std::string> surnames;                   // family names of two kanji
    std::vector<std::string> givenNames;                 // given names of two characters
    std::vector<std::string> companyWords;               // katakana words for owners' companies
    std::vector<std::string> birthPlaces;                // towns of the breeding districts (産地)
    std::vector<std::string> syllables;                  // single katakana for made-up names
    std::vector<std::string> foreignPlaces;              // countries of foreign-bred horses
    std::vector<std::string> raceWords;                  // seasonal and poetic words for race names
    std::array<std::vector<std::string>, 10> placeWords; // per racecourse 01-10: local names
};

// The tables, converted on first use.
const TNameTables& NameTables();

} // namespace standin::season
