#include "level/LevelWriter.h"

#include "level/LevelDraft.h"
#include "level/Tiles.h"
#include "shell/WholeFile.h"
#include "things/Hint.h"

#include <cstdio>
#include <fstream>
#include <sstream>

void writeLevel(std::ostream& out, const LevelDraft& draft) {
    out << draft.getWidth() << ' ' << draft.getHeight() << '\n';
    for (int x = 0; x < draft.getWidth(); ++x) {
        for (int y = 0; y < draft.getHeight(); ++y) {
            const DraftCell& cell = draft.at(x, y);
            if (y > 0) out << ' ';
            out << cell.value;
            // The kinds table says which objects take parameters.
            const KindInfo* kind = findKind(cell.value);
            if (!kind || !*kind->parameters) continue;
            if (cell.value == KindHint) {
                out << ' ';
                if (!cell.text.empty()) out << cell.text << ' ';
                out << hintTerminator;
            } else if (cell.value == KindPortal) {
                out << ' ' << cell.targetColumn << ' ' << cell.targetRow;
            }
        }
        out << '\n';
    }
    out << draft.getName() << '\n';
    if (!draft.getLook().empty()) out << "look " << draft.getLook() << '\n';
    out << draft.getTrailer();
}

std::string levelText(const LevelDraft& draft) {
    std::ostringstream out;
    writeLevel(out, draft);
    return out.str();
}

bool saveLevel(const std::string& path, const LevelDraft& draft) {
    return writeWholeFile(path, levelText(draft));
}
