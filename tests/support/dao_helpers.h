// Helpers for tests of the DAO layer: index definitions, and the error a call throws.
#pragma once

#include "platform/dao/dao.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Creates index `name` on `table` over the fields given with their descending flags.
inline void AddIndex(CDaoTableDef& table, const char* name,
                     std::vector<std::pair<const char*, BOOL>> fields, BOOL unique = FALSE,
                     BOOL primary = FALSE) {
    std::vector<CDaoIndexFieldInfo> infos;
    for (auto [field, descending] : fields) {
        CDaoIndexFieldInfo info;
        info.m_strName = field;
        info.m_bDescending = descending;
        infos.push_back(info);
    }
    CDaoIndexInfo index;
    index.m_strName = name;
    index.m_pFieldInfos = infos.data();
    index.m_nFields = static_cast<short>(infos.size());
    index.m_bUnique = unique;
    index.m_bPrimary = primary;
    table.CreateIndex(index);
}

// The error number of the CDaoException `action` throws (and its description, if asked for); a
// failure and 0 when it throws none.
inline long DaoErrorOf(const std::function<void()>& action, std::string* description = nullptr) {
    try {
        action();
    } catch (const CDaoException& error) {
        if (description)
            *description = error.m_pErrorInfo->m_strDescription.str();
        return error.GetErrorCode();
    }
    ADD_FAILURE() << "no CDaoException";
    return 0;
}
