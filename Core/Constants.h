// Build-time constants of the whole game: titles, data paths, file names and the
// numbers that place things on the screen plane. Every file includes this header;
// there is no configuration file.
#pragma once

#include <string>

// Window
const char* const GAME_TITLE = "Zoomquest!";
const char* const GAME_SHORT_TITLE = "ZQT";
const int SCREEN_WIDTH = 800;
const int SCREEN_HEIGHT = 600;
const int SCREEN_BPP = 32;
// The smallest window the picture is drawn in; the player may make it any larger.
const int WINDOW_MIN_WIDTH = 320;
const int WINDOW_MIN_HEIGHT = 240;

// The screen plane is 3.5 units wide and 2.0 high, centred on the origin.
const float SCREEN_PLANE_WIDTH = 3.5f;
const float SCREEN_PLANE_HEIGHT = 2.0f;
const float SCREEN_PLANE_HALF_WIDTH = 1.75f;
const float SCREEN_PLANE_ASPECT = 0.5714286f; // height over width

// The view onto the screen plane: the eye stands this far in front of it, with this
// vertical field of view (degrees). The window shows the plane's whole height but, being
// 4:3, only the middle 2.66 of its width: the corridor's walls near the camera lie
// outside the picture.
const float VIEW_EYE_Z = 2.41f;
const float VIEW_FIELD_OF_VIEW = 45.0f;

// Data folders and files (relative to the working folder, the repository root)
const std::string IMAGE_PATH = "Data/Images/";
const std::string IMAGE_INFO_FILE = "image_info.zqt";
const std::string LOADING_SCREEN_FILE = "loading_screen.png";
const std::string LOADING_ICON_FILE = "loading_icon.png";
const std::string LEVEL_PATH = "Data/Levels/Gold/";
const std::string LEVEL_PREFIX = "level";
const std::string LEVEL_SUFFIX = ".zqt";
const std::string HIGH_SCORE_FILE = "Data/Score/highscores.txt";

const std::string SOUND_PATH = "Data/Sound/SoundFX/";
const std::string DRAGON_PATH = SOUND_PATH + "Dragon/";
const std::string MUSIC_PATH = "Data/Sound/Music/";

// Effects
const std::string SOUND_NONE = "";
const std::string SOUND_MONEY = SOUND_PATH + "money_jingle.wav";
const std::string SOUND_EARTHQUAKE = SOUND_PATH + "earthquake.wav";
const std::string SOUND_WIND = SOUND_PATH + "wind.wav";
const std::string SOUND_FIRE = SOUND_PATH + "fire.wav";
const std::string SOUND_MONSTER_HIT = SOUND_PATH + "MonsterHit.wav";
const std::string SOUND_SPINNER = SOUND_PATH + "spinner.wav";
const std::string SOUND_BELL = SOUND_PATH + "BellRing.wav";
const std::string SOUND_SPRING = SOUND_PATH + "/Springs/fat_bouncy.wav";
const std::string SOUND_TICK_TOCK = SOUND_PATH + "tick_tock.wav";
const std::string SOUND_GOOD_TONE = SOUND_PATH + "Good_tone.wav";
const std::string SOUND_THUNDER = SOUND_PATH + "Thunder.wav";
const std::string SOUND_LOOP = SOUND_PATH + "vloop.wav";
const std::string SOUND_SPARKLE = SOUND_PATH + "Sparkle.wav";
const std::string SOUND_YEHAW = SOUND_PATH + "YEHAW.wav";
const std::string SOUND_YEEHOO = SOUND_PATH + "YEEHOO.wav";
const std::string SOUND_CHEERING = SOUND_PATH + "Cheering.wav";
// The intro asks for this bare name every frame; no such file ships, so it is silent.
const std::string SOUND_INTRO_WAKE = "WAKE_UP";

// The dragon's lines
const std::string VOICE_WAKE_UP = DRAGON_PATH + "Wake_Up.mp3";
const std::string VOICE_MMM_CHEWY_NICER = DRAGON_PATH + "Mmm_Chewy_Nicer.mp3";
const std::string VOICE_DINNERS_ON_YOU = DRAGON_PATH + "Dinners_On_You.mp3";
const std::string VOICE_BURP = DRAGON_PATH + "Burp.mp3";
const std::string VOICE_EATING = DRAGON_PATH + "Eating.mp3";
const std::string VOICE_LUNCH_TIME = DRAGON_PATH + "Lunch_Time";
const std::string VOICE_MMM_CHEWY = DRAGON_PATH + "Mmm_Chewy.mp3";
const std::string VOICE_LAUGHING = DRAGON_PATH + "Laughing.mp3";
const std::string VOICE_LAUGHING2 = DRAGON_PATH + "Laughing2.mp3";
const std::string VOICE_NOT_WORTH_IT = DRAGON_PATH + "Eh_The_Lil_Bugger_Aint_Worth_It.mp3";
const std::string VOICE_TOO_OLD = DRAGON_PATH + "Getting_To_Old_For_This.mp3";
const std::string VOICE_FORGET_IT = DRAGON_PATH + "Nooo_Ah_Forget_It.mp3";
const std::string VOICE_I_SEE_YOU = DRAGON_PATH + "I_See_You_Thief.mp3";
const std::string VOICE_GONNA_CATCH = DRAGON_PATH + "Im_Gonna_Catch_You_Thief.mp3";
const std::string VOICE_GONNA_GETCHA = DRAGON_PATH + "Im_Gonna_Getcha.mp3";
const std::string VOICE_FOUND_YOU = DRAGON_PATH + "Now_Ive_Found_You.mp3";
const std::string VOICE_PUT_THAT_DOWN = DRAGON_PATH + "Put_That_Down.mp3";
const std::string VOICE_PETTY_ROGUE = DRAGON_PATH + "There_You_Are_Petty_Rogue.mp3";
const std::string VOICE_STOLE_TREASURE = DRAGON_PATH + "You_Stole_My_Treasure.mp3";
const std::string VOICE_HANDS_OFF = DRAGON_PATH + "Get_Yo_Hands_Off.mp3";
const std::string VOICE_BREATHING = DRAGON_PATH + "Breathing.mp3";
const std::string VOICE_BET_THAT_HURT = DRAGON_PATH + "I_Bet_That_Hurt.mp3";
const std::string VOICE_SNARLING = DRAGON_PATH + "Snarling.mp3";
const std::string VOICE_MINE_AGAIN = DRAGON_PATH + "The_Treasure_Will_Be_Mine_Again.mp3";
const std::string VOICE_ROAR = DRAGON_PATH + "Roar.mp3";
const std::string VOICE_COME_BACK = DRAGON_PATH + "Hey_Come_Back.mp3";
const std::string VOICE_FAST_FOOD = DRAGON_PATH + "Thats_Fast_Food.mp3";
const std::string VOICE_HEY_SNACKIE = DRAGON_PATH + "Hey_Snackie.mp3";
const std::string VOICE_DOWN_RIGHT = DRAGON_PATH + "That_Didnt_Go_Down_Right.mp3";
const std::string VOICE_QUEASY = DRAGON_PATH + "Im_Feeling_Queasy.mp3";
const std::string VOICE_CUT_THAT_OUT = DRAGON_PATH + "Ooh_Cut_That_Out.mp3";
const std::string VOICE_QUIT_SPINNING = DRAGON_PATH + "Quit_Spinning_Around.mp3";
const std::string VOICE_WHAT_THE_CRAP = DRAGON_PATH + "What_The_Crap.mp3";
const std::string VOICE_WHERED_HE_GO = DRAGON_PATH + "Whered_He_Go.mp3";
const std::string VOICE_SO_SLOW = DRAGON_PATH + "Why_Am_I_So_Slow.mp3";

// Music
const std::string MUSIC_LEVEL = MUSIC_PATH + "Cartoon1Intro.wav";
const std::string MUSIC_CREDITS = MUSIC_PATH + "Jivin Credits.wav";
const std::string MUSIC_THEME = MUSIC_PATH + "zqt_song.mp3";

// Tuning shared by several modules
const float BOOST_SPEED = 2.5f;      // a rock breaks only at exactly this speed
const float LEVEL_Z_OFFSET = 300.0f; // every object lies this far beyond its file distance
const float TARGET_FPS = 60.0f;
const float LOW_FPS_WARNING = 55.0f;
