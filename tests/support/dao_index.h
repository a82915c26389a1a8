// Index definitions for tests that build their tables through the DAO layer.
#pragma once

#include "platform/dao/dao.h"

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
