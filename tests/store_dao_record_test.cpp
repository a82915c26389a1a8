#include "host/chunk_table.h"
#include "host/schema.h"
#include "store/chunk_records.h"
#include "store/dao_record.h"
#include "tests/support/library_fixture.h"

#include <cstring>
#include <string>

namespace {

namespace col = refhost::chunk_col;

class DaoRecordTest : public LibraryTest {
protected:
    void SetUp() override { InitLibrary(); }

    // Makes `chunk` current in `records`, opening it on CHUNKS first when it is not open.
    static void SeekChunkRecord(CDaoRecordset& records, ChunkId chunk, long options = dbReadOnly) {
        if (!records.IsOpen()) {
            records.Open(dbOpenTable, "CHUNKS", options);
            records.SetCurrentIndex("CSysID_INDEX");
        }
        COleVariant key(static_cast<std::int32_t>(chunk));
        ASSERT_TRUE(records.Seek("=", &key));
    }

    refhost::ChunkTable chunks{db()};
};

TEST_F(DaoRecordTest, ReadsConvertOnlyWhatTheTypeAllows) {
    const ChunkId chunk = chunks.Create("Größe", 0);
    chunks.SetField(chunk, col::PictureNumber, COleVariant(std::int32_t{-17}));
    chunks.SetField(chunk, col::ShotDate, COleVariant(COleDateTime(2001, 2, 3, 4, 5, 6)));
    CDaoRecordset records(&db());
    SeekChunkRecord(records, chunk);
    CDaoRecord record(&records);

    std::int32_t number = 5;
    EXPECT_EQ(record.GetField(chunk_field::SysId, number), 1);
    EXPECT_EQ(number, static_cast<std::int32_t>(chunk));
    EXPECT_EQ(record.GetField(col::PictureNumber + 1, number), 1);
    EXPECT_EQ(number, -17);
    number = 5;
    EXPECT_EQ(record.GetField(chunk_field::UsrId, number), 0);    // text is no number
    EXPECT_EQ(record.GetField(col::Photographer + 1, number), 0); // null
    EXPECT_EQ(record.GetField(0, number), 0);
    EXPECT_EQ(record.GetField(records.GetFieldCount() + 1, number), 0);
    EXPECT_EQ(number, 5);

    CString name;
    EXPECT_EQ(record.GetField(chunk_field::UsrId, name), 1);
    EXPECT_EQ(record.GetField(chunk_field::SysId, name), 0);
    EXPECT_STREQ(name, "Größe");
    EXPECT_EQ(record.GetField(col::Photographer + 1, name), 1); // null reads as no text
    EXPECT_STREQ(name, "");

    COleDateTime shot;
    EXPECT_EQ(record.GetField(col::ShotDate + 1, shot), 1);
    EXPECT_EQ(shot, COleDateTime(2001, 2, 3, 4, 5, 6));
    EXPECT_EQ(record.GetField(chunk_field::UsrId, shot), 0);
}

TEST_F(DaoRecordTest, BlobBuffersBelongToTheRecordUntilReleased) {
    const ChunkId chunk = chunks.Create("Text", 0);
    const ChunkId empty = chunks.Create("Leer", 0);
    chunks.SetText(chunk, "Überschrift");
    chunks.SetPreview(chunk, std::vector<BYTE>{1, 0, 2, 0, 3});
    CDaoRecordset records(&db());
    SeekChunkRecord(records, chunk);
    CDaoRecord record(&records);

    char* text = nullptr;
    unsigned long size = 0;
    ASSERT_EQ(record.GetBLOB(chunk_field::Text, &text, size, nullptr), 1);
    ASSERT_EQ(size, std::strlen("Überschrift"));
    EXPECT_EQ(std::string(text, size), "Überschrift");
    char* picture = nullptr;
    ASSERT_EQ(record.GetBLOB(chunk_field::Picture, &picture, size, nullptr), 1);
    ASSERT_EQ(size, 5u);
    EXPECT_EQ(picture[4], 3);
    EXPECT_EQ(std::string(text, 4), "Übe"); // the earlier buffer is still intact
    EXPECT_EQ(record.FreeLastAssignMem(), 1);
    EXPECT_EQ(record.FreeLastAssignMem(), 1);
    EXPECT_EQ(record.FreeLastAssignMem(), 0);

    SeekChunkRecord(records, empty);
    ASSERT_EQ(record.GetBLOB(chunk_field::Text, &text, size, nullptr), 1);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(record.GetBLOB(chunk_field::SysId, &text, size, nullptr), 0); // a number is no blob
}

TEST_F(DaoRecordTest, PutsNeedAnEditAndFailWithoutChangingTheRecord) {
    const ChunkId chunk = chunks.Create("Alt", 7);
    chunks.SetPreview(chunk, {1, 2, 3});
    CDaoRecordset records(&db());
    SeekChunkRecord(records, chunk, 0);
    CDaoRecord record(&records);

    CString name("Neu");
    EXPECT_EQ(record.PutField(chunk_field::UsrId, name), 0); // no Edit yet

    records.Edit();
    CString tooLong(std::string(300, 'x'));
    EXPECT_EQ(record.PutField(chunk_field::UsrId, tooLong), 0);
    COleVariant notANumber("zwölf");
    EXPECT_EQ(record.PutFieldTrace(chunk_field::DirId, notANumber), 0);
    EXPECT_EQ(record.SetBlobNULL(chunk_field::Picture), 1);
    EXPECT_EQ(record.PutField(chunk_field::ModifyDate, CTime(2001, 2, 3, 4, 5, 6)), 1);
    records.Update();

    // Read back by the host, past the record accessor.
    EXPECT_EQ(chunks.Name(chunk), "Alt");
    EXPECT_EQ(chunks.Folder(chunk), 7u);
    EXPECT_TRUE(chunks.GetField(chunk, col::Preview).IsNull());
    EXPECT_EQ(COleDateTime(chunks.GetField(chunk, col::ModifyDate).date),
              COleDateTime(2001, 2, 3, 4, 5, 6));
}

TEST_F(DaoRecordTest, ReadsOnAWalkedRecordTakeTheirOwnField) {
    // Fields read on one record join the walk and are read from its row on the next: each read
    // must still name its own column, whatever its neighbours hold.
    CDaoTableDef table(&db());
    table.Create("GRID");
    for (const char* name : {"N1", "N2", "N3"})
        table.CreateField(name, dbLong, 4);
    for (const char* name : {"T1", "T2", "T3"})
        table.CreateField(name, dbText, 20);
    table.Append();
    CDaoRecordset records(&db());
    records.Open(dbOpenTable, "GRID");
    for (std::int32_t row = 0; row < 4; ++row) {
        records.AddNew();
        for (int column = 0; column < 3; ++column) {
            records.SetFieldValue(column, COleVariant(std::int32_t{row * 10 + column}));
            const std::string text = std::to_string(row) + char('a' + column);
            records.SetFieldValue(3 + column, text.c_str());
        }
        records.Update();
    }

    CDaoRecord record(&records);
    records.MoveFirst();
    for (std::int32_t row = 0; !records.IsEOF(); ++row, records.MoveNext()) {
        for (int column = 0; column < 3; ++column) {
            std::int32_t number = -1;
            EXPECT_EQ(record.GetField(1 + column, number), 1);
            EXPECT_EQ(number, row * 10 + column) << "row " << row;
            CString text;
            EXPECT_EQ(record.GetField(4 + column, text), 1);
            EXPECT_STREQ(text, (std::to_string(row) + char('a' + column)).c_str()) << "row " << row;
        }
    }
}

TEST(ExtraColumnPrefix, MarksFieldsByTheirNameStart) {
    EXPECT_TRUE(IsHaveAddPrefix("ADD_Fotograf"));
    EXPECT_TRUE(IsHaveAddPrefix("add_fotograf")); // hosts write it in either case
    EXPECT_FALSE(IsHaveAddPrefix("ADD_"));        // nothing left for a title
    EXPECT_FALSE(IsHaveAddPrefix("Fotograf"));
    EXPECT_FALSE(IsHaveAddPrefix("XADD_Fotograf"));
    EXPECT_FALSE(IsHaveAddPrefix(nullptr));
    EXPECT_STREQ(FilterAddPrefix("ADD_Aufnahmedatum"), "Aufnahmedatum");
    EXPECT_STREQ(FilterAddPrefix("DirID"), "DirID");
}

} // namespace
