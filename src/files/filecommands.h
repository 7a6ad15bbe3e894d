// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QtGlobal>

namespace glimra {

class EditorState;
class FileEntries;
class PlatformServices;

/// Open and save with the current file: the file name last chosen and `file_ready`, which
/// is -1 when the toolbar Save may write to that name without asking.
class FileCommands
{
public:
    static constexpr qint16 Ready = -1;

    FileCommands(EditorState &state, FileEntries &entries, PlatformServices &platform);

    void openFromToolbar();
    void openFromMenu();
    /// Opens `name` as the toolbar Open does once its dialog has given that name.
    void openNamed(const QString &name);
    /// Opens files dropped on the window as `openNamed` does; only one file can be opened.
    void openDropped(const QStringList &names);
    /// Writes to the current file without asking when it is ready.
    void saveFromToolbar();
    void saveWithName();

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    qint16 fileReady() const { return m_fileReady; }
    void setFileReady(qint16 ready) { m_fileReady = ready; }

private:
    enum class Origin { Toolbar, Menu };
    void open(Origin origin);
    void load(const QString &name, Origin origin);
    void save(const QString &name);

    EditorState &m_state;
    FileEntries &m_entries;
    PlatformServices &m_platform;
    QString m_fileName;
    qint16 m_fileReady = 0;
};

namespace messages {
inline constexpr char16_t Saved[] = u"データを保存しました";
inline constexpr char16_t NothingToWrite[] = u"書き込むデータがありません";
inline constexpr char16_t CannotWrite[] =
    u"ファイルに書き込めません。ファイル属性を確認してください";
/// Followed by where the copy is.
inline constexpr char16_t CopyKept[] = u"ファイルに書き込めず、元の内容にも戻せませんでした。"
                                       u"保存する前の内容の写しを次の場所に残してあります：\n";
inline constexpr char16_t CannotOpen[] = u"ファイルを開けません";
inline constexpr char16_t PartlyRead[] = u"ファイルの一部しか読み込めませんでした";
} // namespace messages

} // namespace glimra
