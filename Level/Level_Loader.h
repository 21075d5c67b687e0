// Reads a level file ("Data/Levels/Gold/levelN.zqt") into entities: one record per
// object, four fields each introduced by a free label and a colon: type code, distance,
// lateral position, and attribute words up to the end of the line.
#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <memory>
#include <string>
#include <vector>

class Entity;

class Level_Loader
{
public:
    static std::string FileName(uint16_t levelNumber);
    // True when the whole file was read; entities made before a failure stay appended.
    // The overlay list only points at entities the first list owns.
    bool Load(uint16_t levelNumber, std::vector<std::unique_ptr<Entity>>& entities,
              std::vector<Entity*>& overlay);
    // The same for a file by its path. A path that is not a plain file, and a level whose
    // last record lies at or before the start of the run (no length), fail with a message.
    bool LoadFile(const std::string& path, std::vector<std::unique_ptr<Entity>>& entities,
                  std::vector<Entity*>& overlay);
    // The record reader itself, on any stream (tests and the fuzzer feed it text).
    static bool Read(std::istream& in, std::vector<std::unique_ptr<Entity>>& entities,
                     std::vector<Entity*>& overlay);

    static bool ReadIntField(std::istream& in, int& value);
    static bool ReadFloatField(std::istream& in, float& value);
    static void ReadAttributeWords(std::istream& in, std::vector<std::string>& words);

private:
    std::ifstream mFile;
};

extern Level_Loader gLevelLoader;
