#pragma once

// The maker's other products, one row per ad number (0 to 31): the texts the ads screen shows, its picture files
// in "Data/IGA", the words of its links, and what its pictures show. The ads' tables are filled from these rows
// and the data generator draws the pictures named here (tools/datagen/DataGenAds.cpp), so the names cannot
// drift apart. Plain data only: the generator includes this header without the engine.
//
// The kind of each ad (desktop, phone, tablet, Android, BlackBerry, the maker's site) follows its number; a row's
// picture is frameless when it is a PNG file (drawn as a box with a soft shadow on a clear ground) and framed
// otherwise (a TGA filling its rectangle). A row with a height factor of 0.7 has pictures 0.7 times as tall.

constexpr int GAME_ADS_NUM_ADS = 32;
constexpr const char* GAME_ADS_PICTURE_FOLDER = "Data/IGA";

// What an ad's pictures show.
enum GameAdMotif {
    GAME_AD_MOTIF_ORBS,    // round things: frogs, marbles, bubbles, fruit
    GAME_AD_MOTIF_CARDS,   // playing cards
    GAME_AD_MOTIF_GEAR,    // clockwork, garages, tools
    GAME_AD_MOTIF_STAR,    // space, lights, beacons
    GAME_AD_MOTIF_TILES,   // tiles with letters or numbers
    GAME_AD_MOTIF_BOAT,    // boats on water
    GAME_AD_MOTIF_FLOWER,  // gardens
    GAME_AD_MOTIF_CAR,     // racing
    GAME_AD_MOTIF_KITE,    // kites, paper, planes
    GAME_AD_MOTIF_SPIRAL,  // snails, shells, marbles' orbits
};

struct GameAdProduct {
    int number;
    const char* title;       // up to 31 characters
    const char* second_name; // up to 31 characters
    const char* lines[3];    // up to 79 characters each
    const char* pic1;        // file name in GAME_ADS_PICTURE_FOLDER, up to 31 characters
    const char* pic2;        // "" for an ad with one picture
    float width_factor;
    float height_factor;
    const char* page_word;    // its web page: "<links base><page word>.html"
    const char* product_word; // named in the tell-a-friend link
    const char* installer;    // the installer's file name on the maker's site, "" without one
    int updater_program;      // the updater's program number, 0 without one
    GameAdMotif motif;
    unsigned colour;          // 0xRRGGBB, the pictures' main colour
    unsigned accent;          // 0xRRGGBB, the motif's colour
};

inline constexpr GameAdProduct kGameAdProducts[GAME_ADS_NUM_ADS] = {
    {0, "Puddlehop Frogs", "Lily Pad Adventure",
     {"Hop across ninety ponds of lily pads, logs and", "lazy turtles. Catch the dragonflies, dodge the",
      "herons and bring every tadpole home."},
     "puddlehop_1.png", "puddlehop_2.png", 1.0f, 1.0f, "puddlehop", "Puddlehop", "PuddlehopSetup.run", 1,
     GAME_AD_MOTIF_ORBS, 0x1E8C4A, 0x9BE15D},
    {1, "Marblewhirl", "Orbit Puzzles",
     {"Set marbles spinning around little planets and", "line up three of a colour before the orbit",
      "fills. Two hundred puzzles, calm or quick."},
     "marblewhirl_1.png", "marblewhirl_2.png", 1.0f, 1.0f, "marblewhirl", "Marblewhirl", "MarblewhirlSetup.run",
     9, GAME_AD_MOTIF_SPIRAL, 0x2A2F8F, 0xF2C230},
    {2, "Harbourlight Solitaire", "Card Games by the Sea",
     {"Twelve solitaire games played on the quay of a", "fishing harbour. Every won game lights another",
      "window of the town, from dusk to dawn."},
     "harbourlight_1.tga", "", 1.0f, 1.0f, "harbourlight", "Harbourlight", "HarbourlightSetup.run", 2,
     GAME_AD_MOTIF_CARDS, 0x0F4C6B, 0xF5F1E6},
    {3, "Lanternvale", "Hidden Lights",
     {"Find the lanterns hidden in forty painted", "villages and light the valley before the",
      "festival night begins."},
     "lanternvale_1.png", "lanternvale_2.png", 1.0f, 1.0f, "lanternvale", "Lanternvale", "", 0,
     GAME_AD_MOTIF_STAR, 0x3B1F5C, 0xFFB347},
    {4, "Ostrelmark Photo Tidy", "Picture Sorter",
     {"Sorts the pictures on your computer by day, place", "and face, and finds the copies you no longer",
      "need. Nothing leaves your computer."},
     "phototidy_1.tga", "phototidy_2.tga", 1.0f, 1.0f, "phototidy", "PhotoTidy", "", 17, GAME_AD_MOTIF_TILES,
     0x44505C, 0x7FD1E8},
    {5, "Sledgeglint", "Ice Sled Racing",
     {"Race sleds down glaciers, frozen rivers and", "snowy forests. Twelve sledders, four seasons",
      "of cups and a split screen for two."},
     "sledgeglint_1.tga", "sledgeglint_2.tga", 1.0f, 0.7f, "sledgeglint", "Sledgeglint", "SledgeglintSetup.run",
     3, GAME_AD_MOTIF_STAR, 0x4A90C8, 0xFFFFFF},
    {6, "Kiteweave", "Paper Sky",
     {"Fold a kite, paint it and fly it over the", "hills. Catch the wind, loop the clouds and",
      "keep the string from tangling."},
     "kiteweave_1.png", "kiteweave_2.png", 1.0f, 1.0f, "kiteweave", "Kiteweave", "", 0, GAME_AD_MOTIF_KITE,
     0x58B6E8, 0xE8433A},
    {7, "Beetlederby", "Bug Racing",
     {"Breed the fastest beetle in the garden and race", "it along the flower beds. Thirty tracks under",
      "the leaves."},
     "beetlederby_1.png", "beetlederby_2.png", 1.0f, 1.0f, "beetlederby", "Beetlederby", "", 0,
     GAME_AD_MOTIF_ORBS, 0x5C8A2E, 0x2B2B2B},
    {8, "Wordlantern", "Letters in the Dark",
     {"Light up letters one lantern at a time and find", "the words before the night runs out. Three",
      "thousand words in four sizes of board."},
     "wordlantern_1.tga", "wordlantern_2.tga", 1.0f, 1.0f, "wordlantern", "Wordlantern", "", 0,
     GAME_AD_MOTIF_TILES, 0x241A33, 0xF7D774},
    {9, "Cogwick Keep", "Clockwork Defence",
     {"Wind up clockwork guards and keep the castle", "gates shut through sixty nights of tin knights",
      "and brass dragons."},
     "cogwick_1.png", "cogwick_2.png", 1.0f, 1.0f, "cogwick", "Cogwick", "CogwickSetup.run", 6,
     GAME_AD_MOTIF_GEAR, 0x6B4A2B, 0xE0B050},
    {10, "Pebblebrush", "Painting for Everyone",
     {"Paint with pebbles, sand and water on a canvas", "that behaves like the real thing. Brushes,",
      "stamps and a gallery for your pictures."},
     "pebblebrush_1.tga", "pebblebrush_2.tga", 1.0f, 1.0f, "pebblebrush", "Pebblebrush", "PebblebrushSetup.run",
     5, GAME_AD_MOTIF_FLOWER, 0xC4A57A, 0x3C7DD9},
    {11, "Reeftile", "Coral Tile Matching",
     {"Match the painted tiles of a coral reef and set", "its fish free. A hundred and twenty layouts",
      "from the shallows to the deep."},
     "reeftile_1.tga", "", 1.0f, 1.0f, "reeftile", "Reeftile", "ReeftileSetup.run", 4, GAME_AD_MOTIF_TILES,
     0x0E7C86, 0xFF7F50},
    {12, "Pocketwing", "Little Pilot",
     {"Fly a paper plane through rooms, gardens and", "stairwells with one finger.", ""},
     "pocketwing_1.png", "pocketwing_2.png", 1.0f, 1.0f, "pocketwing", "Pocketwing", "", 0, GAME_AD_MOTIF_KITE,
     0xF2F2F2, 0x2E6FD8},
    {13, "Skybloom Garden", "Clouds and Flowers",
     {"Grow a garden on the clouds: water it with rain", "and light it with sunbeams.", ""},
     "skybloom_1.png", "skybloom_2.png", 1.0f, 1.0f, "skybloom", "Skybloom", "", 0, GAME_AD_MOTIF_FLOWER, 0x8ED1F2,
     0xF25C9A},
    {14, "Tugglet", "Tiny Harbour Boats",
     {"Push and pull the ships of a busy harbour to", "their quays with a little tugboat.", ""},
     "tugglet_1.png", "tugglet_2.png", 1.0f, 1.0f, "tugglet", "Tugglet", "", 0, GAME_AD_MOTIF_BOAT, 0x1C5A8C,
     0xF04E37},
    {15, "Starpost Courier", "Deliveries in Space",
     {"Carry parcels between forty moons, trade on", "the way and keep your old freighter flying.",
      "Every route is a new puzzle of fuel and time."},
     "starpost_1.tga", "starpost_2.tga", 1.0f, 0.7f, "starpost", "Starpost", "StarpostSetup.run", 7,
     GAME_AD_MOTIF_STAR, 0x0B0F2A, 0x6FE3FF},
    {16, "Snailsprint", "The Slowest Race",
     {"Cheer your snail to the end of the garden path", "in the slowest race ever run.", ""},
     "snailsprint_1.png", "snailsprint_2.png", 1.0f, 1.0f, "snailsprint", "Snailsprint", "", 0,
     GAME_AD_MOTIF_SPIRAL, 0x7DB65A, 0xB5651D},
    {17, "Foldzoo", "Origami Animals",
     {"Fold paper animals step by step and fill a", "zoo with them.", ""},
     "foldzoo_1.png", "foldzoo_2.png", 1.0f, 1.0f, "foldzoo", "Foldzoo", "", 0, GAME_AD_MOTIF_KITE, 0xF4E3C1,
     0xD9483B},
    {18, "Dunehopper", "Buggies in the Sand",
     {"Jump a dune buggy over the dunes and collect", "the shells before the tide comes in.", ""},
     "dunehopper_1.png", "dunehopper_2.png", 1.0f, 1.0f, "dunehopper", "Dunehopper", "", 0, GAME_AD_MOTIF_CAR,
     0xE3B35B, 0x2F6FD0},
    {19, "Owlmove Chess", "Chess at Night",
     {"Play chess against the owls of the night forest,", "from the young owlet to the old grand owl.",
      "Hints, take-backs and a board that remembers."},
     "owlmove_1.tga", "owlmove_2.tga", 1.0f, 1.0f, "owlmove", "Owlmove", "", 0, GAME_AD_MOTIF_TILES, 0x1F2A1F,
     0xD8C8A0},
    {20, "Ostrelmark Games", "Our Whole Catalogue",
     {"Every game we make, for computers, phones and", "tablets, on our site and in the app stores.", ""},
     "catalogue_1.tga", "catalogue_2.tga", 1.0f, 1.0f, "all", "All", "", 0, GAME_AD_MOTIF_STAR, 0x202830,
     0xFF9A2E},
    {21, "Meadowputt", "Mini Golf Outdoors",
     {"Putt around windmills, streams and sleepy cows", "on eight meadow courses. Aim, chip, putt and",
      "beat your friends' cards."},
     "meadowputt_1.png", "meadowputt_2.png", 1.0f, 1.0f, "meadowputt", "Meadowputt", "MeadowputtSetup.run", 8,
     GAME_AD_MOTIF_ORBS, 0x3F9B3A, 0xFFFFFF},
    {22, "Beaconkeep", "Lighthouse Puzzles",
     {"Turn mirrors and lenses to guide the light of", "your lighthouse to every ship at sea. Ninety",
      "stormy nights of puzzles."},
     "beaconkeep_1.tga", "beaconkeep_2.tga", 1.0f, 1.0f, "beaconkeep", "Beaconkeep", "BeaconkeepSetup.run", 11,
     GAME_AD_MOTIF_STAR, 0x12324F, 0xFFE066},
    {23, "Fizzbarber", "Bubble Haircuts",
     {"Cut, curl and colour the hair of bubbly", "customers before they pop.", ""},
     "fizzbarber_1.png", "fizzbarber_2.png", 1.0f, 1.0f, "fizzbarber", "Fizzbarber", "", 0, GAME_AD_MOTIF_ORBS,
     0xE86FB0, 0x8FE3F5},
    {24, "Moonwrench", "Lunar Garage",
     {"Mend the rovers of a garage on the moon before", "their drivers run out of air.", ""},
     "moonwrench_1.png", "moonwrench_2.png", 1.0f, 1.0f, "moonwrench", "Moonwrench", "", 0, GAME_AD_MOTIF_GEAR,
     0x3A3F4A, 0xC9D1D9},
    {25, "Fruitcatapult", "Orchard Launch",
     {"Launch apples and pears into the baskets of the", "orchard with a wooden catapult.", ""},
     "fruitcatapult_1.png", "fruitcatapult_2.png", 1.0f, 1.0f, "fruitcatapult", "Fruitcatapult", "", 0,
     GAME_AD_MOTIF_ORBS, 0x6AA84F, 0xE03C31},
    {26, "Numbernest", "Number Puzzles",
     {"Fill the nests with numbers so that every row", "and column adds up.", ""},
     "numbernest_1.png", "numbernest_2.png", 1.0f, 1.0f, "numbernest", "Numbernest", "", 0, GAME_AD_MOTIF_TILES,
     0x8B5E3C, 0xF5E6C8},
    {27, "Raindrop Garden", "Grow with the Weather",
     {"A garden that grows with the weather outside", "your window: sow, water and pick through the",
      "year."},
     "raindrop_1.tga", "raindrop_2.tga", 1.0f, 1.0f, "raindrop", "Raindrop", "", 0, GAME_AD_MOTIF_FLOWER, 0x4C6E8F,
     0x9FE07A},
    {28, "Pierflip Pinball", "Seaside Tables",
     {"Six pinball tables on a seaside pier: the big", "wheel, the ghost train, the aquarium and more.",
      "Tilt with care."},
     "pierflip_1.png", "", 1.0f, 0.7f, "pierflip", "Pierflip", "PierflipSetup.run", 13, GAME_AD_MOTIF_SPIRAL,
     0x6A1B9A, 0xFFD54F},
    {29, "Torvi Torvi !!!", "Top-Down Racing",
     {"Race formula cars on six tracks against seven", "drivers, earn your licence and chase the world",
      "best times."},
     "torvi_1.tga", "torvi_2.tga", 1.0f, 1.0f, "torvi", "Torvi", "TorviSetup.run", 14, GAME_AD_MOTIF_CAR,
     0x1B1F2E, 0xFF3228},
    {30, "Canalmoor Boats", "Narrowboat Journeys",
     {"Steer a narrowboat through locks, tunnels and", "aqueducts across the country and deliver your",
      "cargo on time."},
     "canalmoor_1.tga", "canalmoor_2.tga", 1.0f, 1.0f, "canalmoor", "Canalmoor", "CanalmoorSetup.run", 16,
     GAME_AD_MOTIF_BOAT, 0x2E5E3A, 0xC0392B},
    {31, "Ostrelmark Classics", "Our First Games",
     {"The first games we made, tidied up for today's", "computers.", ""},
     "classics_1.tga", "classics_2.tga", 1.0f, 1.0f, "classics", "Classics", "", 0, GAME_AD_MOTIF_CARDS, 0x5A3A22,
     0xE8D5A9},
};
