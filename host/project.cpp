#include "host/project.h"

#include "host/schema.h"

#include <filesystem>

namespace refhost {

std::unique_ptr<Project> Project::Create(const std::string& path) {
    std::unique_ptr<Project> project(new Project(path));
    project->m_database.Create(path.c_str());
    try {
        const std::string title = std::filesystem::path(path).stem().string();
        CreateHostTables(project->m_database, title.c_str());
    } catch (...) {
        project->m_database.Close();
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
    return project;
}

std::unique_ptr<Project> Project::Open(const std::string& path) {
    std::unique_ptr<Project> project(new Project(path));
    project->m_database.Open(path.c_str());
    return project;
}

Project::~Project() {
    if (m_database.IsOpen())
        m_database.Close();
}

std::int32_t Project::FolderCounter() {
    CDaoRecordset records(&m_database);
    records.Open(dbOpenTable, kCollectionTable, dbReadOnly);
    if (records.IsEOF())
        return -1;
    COleVariant value = records.GetFieldValue(collection_col::MaxFolderSysId);
    value.ChangeType(VT_I4);
    return value.lVal;
}

void Project::RaiseFolderCounter(std::int32_t key) {
    CDaoRecordset records(&m_database);
    records.Open(dbOpenTable, kCollectionTable);
    if (records.IsEOF())
        return;
    COleVariant value = records.GetFieldValue(collection_col::MaxFolderSysId);
    value.ChangeType(VT_I4);
    if (value.lVal >= key)
        return;
    records.Edit();
    records.SetFieldValue(collection_col::MaxFolderSysId, COleVariant(key));
    records.Update();
}

Transaction::Transaction(CDaoDatabase& database) : m_database(database) {
    m_database.Execute("BEGIN");
}

Transaction::~Transaction() {
    if (!m_open)
        return;
    try {
        m_database.Execute("ROLLBACK");
    } catch (const CException&) {
        // The engine ends a failed transaction itself on some errors; nothing is left to undo.
    }
}

void Transaction::Commit() {
    m_database.Execute("COMMIT");
    m_open = false;
}

} // namespace refhost
