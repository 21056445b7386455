#include "editor/EditorState.h"

EditorState &EditorState::instance()
{
    static EditorState state;
    return state;
}
