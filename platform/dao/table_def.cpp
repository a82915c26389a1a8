#include "platform/dao/catalog.h"

using namespace dao_detail;

struct CDaoTableDef::State {
    enum class Mode { Closed, Pending, Open };
    Mode mode = Mode::Closed;
    std::string name;
    // Until Append: what Create, CreateField and CreateIndex collected.
    std::vector<FieldDesc> pendingFields;
    std::vector<IndexDesc> pendingIndexes;
    // After Append or Open: the table as last described, valid while the generation holds.
    std::uint64_t generation = 0;
    std::shared_ptr<const TableShape> shape;

    // The fields and indexes collected or, once the table exists, described.
    const std::vector<FieldDesc>& Fields() const {
        return mode == Mode::Pending ? pendingFields : shape->fields;
    }
    const std::vector<IndexDesc>& Indexes() const {
        return mode == Mode::Pending ? pendingIndexes : shape->indexes;
    }
};

namespace {

[[noreturn]] void ThrowNotFound() {
    ThrowDao(DAO_ERROR_ITEM_NOT_FOUND, "Item not found in this collection.");
}

[[noreturn]] void ThrowClosed() {
    ThrowDao(DAO_ERROR_OBJECT_CLOSED, "Object invalid or no longer set.");
}

} // namespace

CDaoTableDef::CDaoTableDef(CDaoDatabase* database)
    : m_pDatabase(database), m_state(std::make_unique<State>()) {}

CDaoTableDef::~CDaoTableDef() = default;

void CDaoTableDef::Create(const char* name, long /*attributes*/, const char* /*sourceTable*/,
                          const char* /*connect*/) {
    if (!m_pDatabase)
        ThrowClosed();
    m_pDatabase->connection();
    Close();
    m_state->mode = State::Mode::Pending;
    m_state->name = name ? name : "";
}

void CDaoTableDef::Open(const char* name) {
    if (!m_pDatabase)
        ThrowClosed();
    Connection& db = m_pDatabase->connection();
    const std::string requested = name ? name : "";
    std::shared_ptr<const TableShape> shape = DescribeTable(db, requested);
    if (!shape)
        ThrowNoSuchTable(db, requested);
    Close();
    m_state->mode = State::Mode::Open;
    m_state->name = shape->name;
    Remember(std::move(shape));
}

void CDaoTableDef::Remember(std::shared_ptr<const TableShape> shape) {
    m_state->generation = m_pDatabase->connection().schemaGeneration();
    m_state->shape = std::move(shape);
}

std::shared_ptr<const TableShape> CDaoTableDef::CurrentShape() const {
    if (m_state->mode != State::Mode::Open || !m_state->shape || !m_pDatabase ||
        m_state->generation != m_pDatabase->connection().schemaGeneration())
        return nullptr;
    return m_state->shape;
}

void CDaoTableDef::Append() {
    if (m_state->mode != State::Mode::Pending)
        ThrowClosed();
    Connection& db = m_pDatabase->connection();
    db.RequireWritable();
    {
        ChangeScope change(db);
        CreateTable(db, m_state->name, m_state->pendingFields, m_state->pendingIndexes);
    }
    m_state->pendingFields.clear();
    m_state->pendingIndexes.clear();
    m_state->mode = State::Mode::Open;
    m_state->shape.reset();
}

void CDaoTableDef::Close() {
    *m_state = State();
}

BOOL CDaoTableDef::IsOpen() const {
    return m_state->mode != State::Mode::Closed ? TRUE : FALSE;
}

CString CDaoTableDef::GetName() const {
    return CString(m_state->name);
}

void CDaoTableDef::CreateField(const char* name, short type, long size, long attributes) {
    CDaoFieldInfo info;
    info.m_strName = name;
    info.m_nType = type;
    info.m_lSize = size;
    info.m_lAttributes = attributes;
    CreateField(info);
}

void CDaoTableDef::CreateField(CDaoFieldInfo& info) {
    FieldDesc field =
        NormalizeNewField(info.m_strName, info.m_nType, info.m_lSize, info.m_lAttributes);
    field.required = info.m_bRequired != FALSE;
    switch (m_state->mode) {
    case State::Mode::Pending:
        for (const FieldDesc& other : m_state->pendingFields)
            if (SameName(other.name, field.name))
                ThrowDao(3191, "Cannot define field more than once.");
        field.ordinal = static_cast<short>(m_state->pendingFields.size());
        m_state->pendingFields.push_back(std::move(field));
        return;
    case State::Mode::Open: {
        Connection& db = m_pDatabase->connection();
        db.RequireWritable();
        ChangeScope change(db);
        AddColumn(db, m_state->name, field);
        return;
    }
    case State::Mode::Closed:
        ThrowClosed();
    }
}

void CDaoTableDef::CreateIndex(CDaoIndexInfo& info) {
    IndexDesc index = NewIndex(info);
    switch (m_state->mode) {
    case State::Mode::Pending:
        for (const IndexDesc& other : m_state->pendingIndexes) {
            if (SameName(other.name, index.name))
                ThrowDao(3284, "Index already exists.");
            if (other.primary() && index.primary())
                ThrowDao(3283, "Primary key already exists.");
        }
        m_state->pendingIndexes.push_back(std::move(index));
        return;
    case State::Mode::Open: {
        GetIndexCount(); // refreshes the cache the primary key check reads
        Connection& db = m_pDatabase->connection();
        db.RequireWritable();
        ChangeScope change(db);
        dao_detail::CreateIndex(db, m_state->name, index, m_state->Indexes());
        return;
    }
    case State::Mode::Closed:
        ThrowClosed();
    }
}

void CDaoTableDef::DeleteIndex(const char* name) {
    const std::string wanted = name ? name : "";
    if (m_state->mode == State::Mode::Pending) {
        auto& pending = m_state->pendingIndexes;
        for (auto it = pending.begin(); it != pending.end(); ++it) {
            if (SameName(it->name, wanted)) {
                pending.erase(it);
                return;
            }
        }
        ThrowNotFound();
    }
    GetIndexCount();
    for (const IndexDesc& index : m_state->Indexes()) {
        if (!SameName(index.name, wanted))
            continue;
        Connection& db = m_pDatabase->connection();
        db.RequireWritable();
        ChangeScope change(db);
        DropIndex(db, index);
        return;
    }
    ThrowNotFound();
}

short CDaoTableDef::GetFieldCount() {
    if (m_state->mode == State::Mode::Pending)
        return static_cast<short>(m_state->pendingFields.size());
    if (m_state->mode == State::Mode::Closed)
        ThrowClosed();
    Connection& db = m_pDatabase->connection();
    if (!m_state->shape || m_state->generation != db.schemaGeneration()) {
        std::shared_ptr<const TableShape> shape = DescribeTable(db, m_state->name);
        if (!shape)
            ThrowNoSuchTable(db, m_state->name);
        Remember(std::move(shape));
    }
    return static_cast<short>(m_state->Fields().size());
}

void CDaoTableDef::GetFieldInfo(int index, CDaoFieldInfo& info, DWORD infoOptions) {
    const short count = GetFieldCount();
    if (index < 0 || index >= count)
        ThrowNotFound();
    const auto& fields = m_state->Fields();
    FillFieldInfo(fields[std::size_t(index)], m_state->name, info, infoOptions);
}

void CDaoTableDef::GetFieldInfo(const char* name, CDaoFieldInfo& info, DWORD infoOptions) {
    const short count = GetFieldCount();
    const auto& fields = m_state->Fields();
    for (short i = 0; i < count; ++i) {
        if (SameName(fields[std::size_t(i)].name, name ? name : "")) {
            FillFieldInfo(fields[std::size_t(i)], m_state->name, info, infoOptions);
            return;
        }
    }
    ThrowNotFound();
}

short CDaoTableDef::GetIndexCount() {
    GetFieldCount();
    const auto& indexes = m_state->Indexes();
    return static_cast<short>(indexes.size());
}

void CDaoTableDef::GetIndexInfo(int index, CDaoIndexInfo& info, DWORD infoOptions) {
    const short count = GetIndexCount();
    if (index < 0 || index >= count)
        ThrowNotFound();
    const auto& indexes = m_state->Indexes();
    FillIndexInfo(indexes[std::size_t(index)], info, infoOptions);
    if ((infoOptions & AFX_DAO_ALL_INFO) == AFX_DAO_ALL_INFO &&
        m_state->mode == State::Mode::Open) {
        // Jet keeps this as a statistic; counting is exact and rare enough.
        const IndexDesc& desc = indexes[std::size_t(index)];
        std::string columns;
        for (const std::string& column : desc.columns)
            columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(column);
        Connection& db = m_pDatabase->connection();
        Statement count = db.Prepare("SELECT count(*) FROM (SELECT DISTINCT " + columns + " FROM " +
                                     QuoteIdentifier(m_state->name) + ")");
        const int rc = sqlite3_step(count.get());
        if (rc != SQLITE_ROW)
            db.Fail(rc);
        info.m_lDistinctCount = static_cast<long>(sqlite3_column_int64(count.get(), 0));
    }
}

void CDaoTableDef::GetIndexInfo(const char* name, CDaoIndexInfo& info, DWORD infoOptions) {
    const short count = GetIndexCount();
    const auto& indexes = m_state->Indexes();
    for (short i = 0; i < count; ++i) {
        if (SameName(indexes[std::size_t(i)].name, name ? name : "")) {
            GetIndexInfo(i, info, infoOptions);
            return;
        }
    }
    ThrowNotFound();
}

long CDaoTableDef::GetRecordCount() {
    if (m_state->mode != State::Mode::Open)
        return 0;
    Connection& db = m_pDatabase->connection();
    Statement count = db.Prepare("SELECT count(*) FROM " + QuoteIdentifier(m_state->name));
    const int rc = sqlite3_step(count.get());
    if (rc != SQLITE_ROW)
        db.Fail(rc);
    return static_cast<long>(sqlite3_column_int64(count.get(), 0));
}
