#pragma once

#include <QString>

class MapDocument;

// A file name made of a map's Name setting and suffix: no separators, no leading dot, "Untitled" when empty.
QString ProposedFileName(const QString& name, const QString& suffix);

// Where the window's file dialogs start, remembering the folders chosen in this run.
class DialogFolders {
public:
    // Where Open, Save As and Export start: the map's folder, else the last folder a file dialog chose in
    // this run, else the user's home folder.
    QString MapStart(const MapDocument& map) const;
    // Where Load Tiles starts: the last tileset image's folder, else the map's.
    QString ImageStart(const MapDocument& map) const;
    // Where Locate starts while the map at mapPath opens: the last tileset image's folder chosen in this
    // run, else the map's.
    QString LocateStart(const MapDocument& map, const QString& mapPath) const;
    // What Save As and Export propose: the map's file name with suffix, or for an untitled map its Name
    // setting when it has one, in MapStart.
    QString ProposedMapPath(const MapDocument& map, const QString& suffix) const;
    // A file chosen in a dialog: its folder is where the next dialog starts when nothing better is known.
    void Remember(const QString& chosenFile, bool image = false);

private:
    QString m_lastFolder;
    QString m_lastImageFolder;
};
