#include "editor/EditorState.h"

QString &Project_File_Name = EditorState::instance().Project_File_Name;

EditorState &EditorState::instance()
{
    static EditorState state;
    return state;
}
