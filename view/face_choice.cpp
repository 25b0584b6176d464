#include "view/face_choice.h"

bool CalLineInProportion(const CalFaceLine& face)
{
    if (face.line <= 0 || face.characters <= 0)
        return true;
    return int64_t{face.line} <= int64_t{kCalMostLinePerCharacter} * face.characters;
}

int CalChooseFace(const CalFaceLine* faces, int count)
{
    int best = -1;
    for (int i = 0; i < count; ++i) {
        if (CalLineInProportion(faces[i]))
            return i;
        // Out of proportion, so both heights are positive: compare the
        // ratios line / characters without dividing.
        if (best < 0 ||
            int64_t{faces[i].line} * faces[best].characters < int64_t{faces[best].line} * faces[i].characters)
            best = i;
    }
    return best;
}
