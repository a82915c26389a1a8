// Table-type recordsets under long random runs of moves, seeks, index changes and writes, their
// own and another recordset's, checked step by step against a plain model of the table: every
// index in key order, equal keys in the order added, and a position that is the index entry the
// recordset stands on (or stood on, when that record was deleted).
#include "tests/support/people_table.h"
#include "tests/support/test_seed.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <utility>

namespace {

enum class Index { K, KDown, KName };
const char* const kIndexNames[] = {"K", "KDown", "KName"};

struct Person {
    std::int32_t id;
    std::optional<int> k;
    std::string name;
};

// Key order of the K field: ascending with nulls first, or descending with nulls last.
int CompareK(const std::optional<int>& a, const std::optional<int>& b, bool descending) {
    if (a == b)
        return 0;
    const bool aFirst = descending ? (!b || (a && *a > *b)) : (!a || (b && *a < *b));
    return aFirst ? -1 : 1;
}

// Order of the index keys alone; `withName` only for KName.
int CompareKeys(Index index, const std::optional<int>& k1, const std::string& n1,
                const std::optional<int>& k2, const std::string& n2, bool withName) {
    if (const int byK = CompareK(k1, k2, index == Index::KDown); byK != 0)
        return byK;
    if (index != Index::KName || !withName)
        return 0;
    return n1 < n2 ? -1 : (n1 == n2 ? 0 : 1);
}

// Index order of two records: their keys, then the order they were added in.
int CompareEntries(Index index, const Person& a, const Person& b) {
    if (const int byKeys = CompareKeys(index, a.k, a.name, b.k, b.name, true); byKeys != 0)
        return byKeys;
    return a.id < b.id ? -1 : (a.id == b.id ? 0 : 1);
}

class WalkModel {
public:
    std::vector<Person> people;

    std::vector<Person> Ordered(Index index) const {
        std::vector<Person> sorted = people;
        std::sort(sorted.begin(), sorted.end(), [&](const Person& a, const Person& b) {
            return CompareEntries(index, a, b) < 0;
        });
        return sorted;
    }
    // The first entry after (or the last before) `at` in index order.
    std::optional<Person> Next(Index index, const Person& at) const {
        std::optional<Person> best;
        for (const Person& p : people)
            if (CompareEntries(index, p, at) > 0 && (!best || CompareEntries(index, p, *best) < 0))
                best = p;
        return best;
    }
    std::optional<Person> Prev(Index index, const Person& at) const {
        std::optional<Person> best;
        for (const Person& p : people)
            if (CompareEntries(index, p, at) < 0 && (!best || CompareEntries(index, p, *best) > 0))
                best = p;
        return best;
    }
    Person* Find(std::int32_t id) {
        for (Person& p : people)
            if (p.id == id)
                return &p;
        return nullptr;
    }
    void Remove(std::int32_t id) {
        std::erase_if(people, [&](const Person& p) { return p.id == id; });
    }
};

// Where the recordset is, as the model sees it: before the first record, after the last, on one,
// on one it deleted or saw deleted (until it moves), or on none (after a seek that found nothing,
// or in an empty table).
struct Position {
    enum Kind { None, Bof, Eof, On, Deleted } kind = None;
    Person at{}; // On and Deleted: the entry, with its keys as the recordset last saw them
    // On: the record as another recordset changed it since; the recordset follows it there when
    // it next looks at its record, and keeps the place it saw should the record go before then.
    std::optional<Person> unseen = std::nullopt;
};

class DaoWalkModelTest : public PeopleTableTest {
protected:
    std::mt19937 random{0};
    int nextName = 0;
    std::int32_t nextId = 1;
    WalkModel model;
    int keyRange = 12; // keys drawn from 0 to keyRange - 1: few with many duplicates, or gaps

    int Roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); }
    std::optional<int> RandomK() {
        if (Roll(8) == 0)
            return std::nullopt;
        return Roll(keyRange);
    }
    // Keys a seek asks for: those of RandomK and one just outside them at either end.
    std::optional<int> SeekK() {
        if (Roll(8) == 0)
            return std::nullopt;
        return Roll(keyRange + 2) - 1;
    }
    std::string NewName() { return "p" + std::to_string(nextName++); }

    static void SetK(CDaoRecordset& records, const std::optional<int>& k) {
        COleVariant value;
        if (k)
            value = Long(*k);
        else
            value.vt = VT_NULL;
        records.SetFieldValue("K", value);
    }
    // Adds a record through `records`; the recordset stays where it was.
    void Add(CDaoRecordset& records) {
        const Person person{nextId++, RandomK(), NewName()};
        records.AddNew();
        SetK(records, person.k);
        records.SetFieldValue("NAME", COleVariant(person.name.c_str()));
        records.Update();
        model.people.push_back(person);
    }

    static Position FirstOrEmpty(const std::vector<Person>& ordered) {
        if (ordered.empty())
            return {Position::None, {}};
        return {Position::On, ordered.front()};
    }
    static Position LastOrEmpty(const std::vector<Person>& ordered) {
        if (ordered.empty())
            return {Position::None, {}};
        return {Position::On, ordered.back()};
    }

    // A seek by the model: the entry a comparison finds on `index`, or none.
    std::optional<Person> ModelSeek(Index index, const std::string& comparison,
                                    const std::optional<int>& k, const std::string* name) const {
        const std::vector<Person> ordered = model.Ordered(index);
        auto cmp = [&](const Person& p) {
            return CompareKeys(index, p.k, p.name, k, name ? *name : std::string(),
                               name != nullptr);
        };
        if (comparison == "=" || comparison == ">=" || comparison == ">") {
            for (const Person& p : ordered) {
                const int c = cmp(p);
                if ((comparison == "=" && c == 0) || (comparison == ">=" && c >= 0) ||
                    (comparison == ">" && c > 0))
                    return p;
            }
            return std::nullopt;
        }
        for (auto p = ordered.rbegin(); p != ordered.rend(); ++p) {
            const int c = cmp(*p);
            if ((comparison == "<=" && c <= 0) || (comparison == "<" && c < 0))
                return *p;
        }
        return std::nullopt;
    }

    // Runs `steps` random operations and checks the walker against the model after each.
    void Run(unsigned seed, int steps) {
        random.seed(seed);
        walker = std::make_unique<CDaoRecordset>(&db);
        walker->Open(dbOpenTable, "PEOPLE");
        writer = std::make_unique<CDaoRecordset>(&db);
        writer->Open(dbOpenTable, "PEOPLE");
        writer->SetCurrentIndex("Name");
        for (int i = 0; i < 30; ++i)
            Add(*writer);
        index = Index::K;
        walker->SetCurrentIndex(kIndexNames[int(index)]);
        position = FirstOrEmpty(model.Ordered(index));
        bookmark.reset();

        bool quiet = false; // a stretch without writes, where walks and seeks go on undisturbed
        for (int step = 0; step < steps; ++step) {
            if (step % 50 == 0)
                quiet = Roll(2) == 0;
            SCOPED_TRACE("step " + std::to_string(step) + ", seed " + std::to_string(seed));
            std::string what;
            const int action = quiet ? Roll(60) : Roll(100);
            if (action < 25)
                MoveOn(what);
            else if (action < 35)
                MoveBack(what);
            else if (action < 55)
                Seek(what);
            else if (action < 60)
                ChangeIndex(what);
            else if (action < 68)
                GiveOwnRecordANewKey(what);
            else if (action < 72)
                DeleteOwnRecord(what);
            else if (action < 78)
                AddOwnRecord(what);
            else if (action < 92)
                WriteThroughTheOtherRecordset(what);
            else if (action < 96)
                TakeOrUseABookmark(what);
            else
                CountRecords(what);
            if (HasFatalFailure())
                return;
            SCOPED_TRACE("after " + what);
            // Most steps look at where the walker stands; some go on without a read.
            if (!what.empty() && Roll(4) != 0)
                CheckPosition();
            if (HasFatalFailure())
                return;
        }
        // Every index walked afresh gives the model's order.
        for (const Index whole : {Index::K, Index::KDown, Index::KName}) {
            CDaoRecordset fresh(&db);
            fresh.Open(dbOpenTable, "PEOPLE");
            std::vector<std::string> expected;
            for (const Person& p : model.Ordered(whole))
                expected.push_back(p.name);
            EXPECT_EQ(Walk(fresh, kIndexNames[int(whole)]), expected);
        }
        walker.reset();
        writer.reset();
    }

    bool OnOrAfterDeleted() const {
        return position.kind == Position::On || position.kind == Position::Deleted;
    }

    // The walker reads its record (a move from it, a field, an edit): it finds it where it now is.
    void Look() {
        if (position.unseen && position.kind == Position::On)
            position.at = *position.unseen;
        position.unseen.reset();
    }

    void MoveOn(std::string& what) {
        Look();
        if (OnOrAfterDeleted()) {
            what = "MoveNext";
            walker->MoveNext();
            const auto next = model.Next(index, position.at);
            position = next ? Position{Position::On, *next} : Position{Position::Eof, {}};
        } else if (position.kind == Position::Bof) {
            what = "MoveNext from BOF";
            walker->MoveNext();
            position = FirstOrEmpty(model.Ordered(index));
        } else {
            what = "MoveFirst";
            walker->MoveFirst();
            position = FirstOrEmpty(model.Ordered(index));
        }
    }

    void MoveBack(std::string& what) {
        Look();
        if (OnOrAfterDeleted()) {
            what = "MovePrev";
            walker->MovePrev();
            const auto prev = model.Prev(index, position.at);
            position = prev ? Position{Position::On, *prev} : Position{Position::Bof, {}};
        } else if (position.kind == Position::Eof) {
            what = "MovePrev from EOF";
            walker->MovePrev();
            position = LastOrEmpty(model.Ordered(index));
        } else {
            what = "MoveLast";
            walker->MoveLast();
            position = LastOrEmpty(model.Ordered(index));
        }
    }

    void Seek(std::string& what) {
        static const char* const kComparisons[] = {"=", ">=", ">", "<=", "<"};
        const std::string comparison = kComparisons[Roll(5)];
        // Often just ahead of the walker's key, as a listing looks records up in turn.
        std::optional<int> k = SeekK();
        if (position.kind == Position::On && position.at.k && Roll(2) == 0)
            k = *position.at.k + Roll(4);
        COleVariant key;
        if (k)
            key = Long(*k);
        else
            key.vt = VT_NULL;
        std::optional<std::string> name;
        if (index == Index::KName && Roll(2) == 0)
            name = "p" + std::to_string(Roll(nextName + 1));
        what = "Seek " + comparison + " " + (k ? std::to_string(*k) : "null") +
               (name ? " " + *name : "");
        COleVariant nameKey(name ? name->c_str() : "");
        const BOOL found = walker->Seek(comparison.c_str(), &key, name ? &nameKey : nullptr);
        const auto expected = ModelSeek(index, comparison, k, name ? &*name : nullptr);
        ASSERT_EQ(found != 0, expected.has_value()) << what;
        position = expected ? Position{Position::On, *expected} : Position{};
    }

    void ChangeIndex(std::string& what) {
        index = static_cast<Index>(Roll(3));
        what = std::string("SetCurrentIndex ") + kIndexNames[int(index)];
        walker->SetCurrentIndex(kIndexNames[int(index)]);
        position = FirstOrEmpty(model.Ordered(index));
    }

    void GiveOwnRecordANewKey(std::string& what) {
        if (position.kind != Position::On)
            return;
        Look();
        Person* person = model.Find(position.at.id);
        person->k = RandomK();
        what = "Edit " + person->name;
        walker->Edit();
        SetK(*walker, person->k);
        walker->Update();
        position.at = *person;
    }

    void DeleteOwnRecord(std::string& what) {
        Look();
        if (position.kind == Position::Deleted) {
            what = "Delete again";
            ASSERT_EQ(DaoErrorOf([&] { walker->Delete(); }), 3167);
            return;
        }
        if (position.kind != Position::On)
            return;
        what = "Delete " + position.at.name;
        walker->Delete();
        model.Remove(position.at.id);
        position.kind = Position::Deleted;
    }

    void AddOwnRecord(std::string& what) {
        what = "AddNew";
        Add(*walker);
    }

    // Adds a record, or gives one a new key or deletes it; a quarter of the time the walker's own,
    // which the walker follows to its new place when it next looks, or finds gone.
    void WriteThroughTheOtherRecordset(std::string& what) {
        if (model.people.empty() || Roll(3) == 0) {
            what = "writer AddNew";
            Add(*writer);
            return;
        }
        const std::size_t any = static_cast<std::size_t>(Roll(int(model.people.size())));
        Person& target = position.kind == Position::On && Roll(4) == 0 ? *model.Find(position.at.id)
                                                                       : model.people[any];
        const bool walkersOwn = position.kind == Position::On && position.at.id == target.id;
        COleVariant name(target.name.c_str());
        ASSERT_TRUE(writer->Seek("=", &name));
        if (Roll(2) == 0) {
            what = "writer Delete " + target.name;
            writer->Delete();
            if (walkersOwn) {
                position.kind = Position::Deleted;
                position.unseen.reset();
            }
            model.Remove(target.id);
        } else {
            target.k = RandomK();
            what = "writer Edit " + target.name;
            writer->Edit();
            SetK(*writer, target.k);
            writer->Update();
            if (walkersOwn)
                position.unseen = target;
        }
    }

    void TakeOrUseABookmark(std::string& what) {
        if (bookmark && model.Find(bookmark->second) && Roll(2) == 0) {
            what = "SetBookmark";
            walker->SetBookmark(bookmark->first);
            position = {Position::On, *model.Find(bookmark->second)};
        } else if (position.kind == Position::On) {
            what = "GetBookmark";
            bookmark.emplace(walker->GetBookmark(), position.at.id);
        }
    }

    void CountRecords(std::string& what) {
        what = "GetRecordCount";
        ASSERT_EQ(walker->GetRecordCount(), long(model.people.size()));
    }

    void CheckPosition() {
        switch (position.kind) {
        case Position::On:
            Look();
            ASSERT_FALSE(walker->IsEOF());
            ASSERT_FALSE(walker->IsBOF());
            ASSERT_EQ(walker->GetFieldValue("NAME").strVal.str(), position.at.name);
            if (Roll(3) == 0) {
                ASSERT_EQ(walker->GetFieldValue("ID").lVal, position.at.id);
            }
            break;
        case Position::Eof:
            ASSERT_TRUE(walker->IsEOF());
            ASSERT_FALSE(walker->IsBOF());
            break;
        case Position::Bof:
            ASSERT_TRUE(walker->IsBOF());
            ASSERT_FALSE(walker->IsEOF());
            break;
        default:
            break;
        }
        // Off a record there is nothing to read, and a deleted one cannot be read.
        if (position.kind != Position::On) {
            ASSERT_EQ(DaoErrorOf([&] { walker->GetFieldValue("NAME"); }),
                      position.kind == Position::Deleted ? 3167 : DAO_ERROR_NO_CURRENT_RECORD);
        }
    }

    std::unique_ptr<CDaoRecordset> walker; // the recordset under test
    std::unique_ptr<CDaoRecordset> writer; // another one on the same table, on the "Name" index
    Index index = Index::K;
    Position position;
    std::optional<std::pair<COleVariant, std::int32_t>> bookmark; // with the record's ID
};

TEST_F(DaoWalkModelTest, RandomRunsAgreeWithTheModelStepByStep) {
    const unsigned first = TestSeed(1);
    for (unsigned seed = first; seed < first + 12; ++seed) {
        keyRange = seed % 2 ? 12 : 60;
        Run(seed, 600);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
