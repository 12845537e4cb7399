// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The ID3v1 list with the Winamp extensions, spelt as earlier releases of this program showed
// them, because users' LCD titles and list columns were made with these spellings.
#include "audio/GenreName.h"

#include <array>

namespace
{

constexpr std::array<const char*, 148> kGenres = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip Hop", // 0
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap", // 8
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks", // 16
    "Soundtrack",
    "Euro - Techno",
    "Ambient",
    "Trip Hop",
    "Vocal",
    "Jazz - Funk",
    "Fusion",
    "Trance", // 24
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise", // 32
    "Alt.Rock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop", // 40
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno - Industrial",
    "Electronic", // 47
    "Pop / Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta Rap",
    "Top 40", // 53
    "Christian Rap",
    "Pop / Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychedelic", // 61
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo - fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro", // 68
    "Musical",
    "Rock 'n'Roll",
    "Hard Rock",
    "Folk",
    "Folk / Rock",
    "National Folk",
    "Swing", // 77
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Blue Grass",
    "Avant Garde",
    "Gothic Rock", // 84
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus", // 92
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata", // 98
    "Symphony",
    "Booty Bass",
    "Primus",
    "Pr0n Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango", // 106
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock", // 114
    "Drum Solo",
    "",
    "Euro - House",
    "Dance Hall",
    "Goa",
    "Drum & Bass",
    "Club - House",
    "Hardcore", // 122
    "Terror",
    "Indie",
    "Brit Pop",
    "Negerpunk",
    "Polsk Punk",
    "Beat",
    "Christian Gangsta Rap", // 130
    "Heavy Metal",
    "Black Metal",
    "Crossover",
    "Contemporary Christian",
    "Christian Rock",
    "Merengue", // 137
    "Salsa",
    "Thrash Metal",
    "Anime",
    "JPop",
    "Synth Pop", // 143
};

} // namespace

QString GenreName(quint8 genre)
{
    if (genre >= kGenres.size())
        return QString();
    return QString::fromLatin1(kGenres[genre]);
}
