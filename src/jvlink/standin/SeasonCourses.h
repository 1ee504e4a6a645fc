// The ten central racecourses as the built-in season runs them: the distances and track codes
// each one has, how many runners a field may have, and the par times and closing sectionals
// that race times are built from.
#pragma once

#include <span>

namespace standin::season {

// What a race is run on.
enum class TGround { Turf, Dirt, Jump };

// One course of a racecourse: ground, distance and the track code of the race record
// (10 turf straight, 11-16 turf left-handed, 17-22 turf right-handed, 23 dirt left, 24 dirt
// right, 51-59 jump), with how often it is used.
struct TCourseOption {
    TGround ground;
    int distance; // metres
    int track;    // track code
    int weight;   // relative frequency in the programme
};

// Which trainers' centre a racecourse draws from: the east (美浦), the west (栗東), or both.
enum class TRegion { North, East, West };

struct TCourse {
    int code;        // racecourse code 1-10
    TRegion region;  // where most of its runners come from
    int maxRunners;  // largest field on the flat
    double timeBias; // par times scaled by 1 + timeBias (the course's speed)
    std::span<const TCourseOption> options;
};

// The racecourse with code 1-10 (01 札幌 ... 10 小倉); code 5 for anything else.
const TCourse& CourseOf(int code) noexcept;

// Direction of a track code as the horse master's placing counts group it.
enum class TDirection { Straight, Right, Left };
TDirection DirectionOf(int track) noexcept;

// Winning time in seconds of an average race of the 1勝 class on good going.
double ParSeconds(TGround ground, int distance) noexcept;
// Last three furlongs of the leader in seconds on good going, before pace noise.
double LastThreeParSeconds(TGround ground, int distance) noexcept;
// How many corners a race has on which positions are taken: 2 (3rd and 4th) for sprints and
// one-turn miles, 4 otherwise.
int CornerCount(TGround ground, int distance) noexcept;

} // namespace standin::season
