#include "editor/EditorState.h"

QString &Project_File_Name = EditorState::instance().Project_File_Name;
QString &Start_Card_Option = EditorState::instance().Start_Card_Option;

EditorState &EditorState::instance()
{
    static EditorState state;
    return state;
}
