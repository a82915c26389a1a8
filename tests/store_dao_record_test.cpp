#include "host/chunk_table.h"
#include "host/schema.h"
#include "store/chunk_records.h"
#include "store/dao_record.h"
#include "tests/support/library_fixture.h"

#include <cstring>

namespace {

using DaoRecordTest = LibraryTest;

TEST_F(DaoRecordTest, ReadsConvertOnlyWhatTheTypeAllows) {
    InitLibrary();
    refhost::ChunkTable chunks(db());
    const ChunkId chunk = chunks.Create("Größe", 0);
    chunks.SetText(chunk, "Erste Zeile\nzweite Zeile");
    chunks.SetField(chunk, refhost::chunk_col::PictureNumber, COleVariant(std::int32_t{-17}));

    CDaoRecordset records(&db());
    records.Open(dbOpenTable, "CHUNKS", dbReadOnly);
    records.SetCurrentIndex("CSysID_INDEX");
    COleVariant key(static_cast<std::int32_t>(chunk));
    ASSERT_TRUE(records.Seek("=", &key));
    CDaoRecord record(&records);

    std::int32_t number = 5;
    EXPECT_EQ(record.GetField(chunk_field::SysId, number), 1);
    EXPECT_EQ(number, static_cast<std::int32_t>(chunk));
    EXPECT_EQ(record.GetField(refhost::chunk_col::PictureNumber + 1, number), 1);
    EXPECT_EQ(number, -17);
    number = 5;
    EXPECT_EQ(record.GetField(chunk_field::UsrId, number), 0); // text is no number
    EXPECT_EQ(record.GetField(refhost::chunk_col::Photographer + 1, number), 0); // null
    EXPECT_EQ(record.GetField(0, number), 0);
    EXPECT_EQ(record.GetField(records.GetFieldCount() + 1, number), 0);
    EXPECT_EQ(number, 5);

    CString name;
    EXPECT_EQ(record.GetField(chunk_field::UsrId, name), 1);
    EXPECT_STREQ(name, "Größe");
    EXPECT_EQ(record.GetField(chunk_field::SysId, name), 0);

    COleDateTime modified;
    EXPECT_EQ(record.GetField(chunk_field::ModifyDate, modified), 1);
    EXPECT_EQ(modified.GetStatus(), COleDateTime::valid);
    EXPECT_GT(modified.GetYear(), 2000);
    EXPECT_EQ(record.GetField(chunk_field::UsrId, modified), 0);

    COleVariant any;
    EXPECT_EQ(record.GetFieldTrace(refhost::chunk_col::Photographer + 1, any), 1);
    EXPECT_EQ(any.vt, VT_NULL);
}

TEST_F(DaoRecordTest, BlobBuffersBelongToTheRecordUntilReleased) {
    InitLibrary();
    refhost::ChunkTable chunks(db());
    const ChunkId chunk = chunks.Create("Text", 0);
    const ChunkId empty = chunks.Create("Leer", 0);
    chunks.SetText(chunk, "Überschrift");
    chunks.SetPreview(chunk, std::vector<BYTE>{1, 0, 2, 0, 3});

    CDaoRecordset records(&db());
    records.Open(dbOpenTable, "CHUNKS", dbReadOnly);
    records.SetCurrentIndex("CSysID_INDEX");
    COleVariant key(static_cast<std::int32_t>(chunk));
    ASSERT_TRUE(records.Seek("=", &key));
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

    COleVariant emptyKey(static_cast<std::int32_t>(empty));
    ASSERT_TRUE(records.Seek("=", &emptyKey));
    ASSERT_EQ(record.GetBLOB(chunk_field::Text, &text, size, nullptr), 1);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(record.GetBLOB(chunk_field::SysId, &text, size, nullptr), 0); // a number is no blob
}

TEST_F(DaoRecordTest, PutsNeedAnEditAndFailWithoutChangingTheRecord) {
    InitLibrary();
    refhost::ChunkTable chunks(db());
    const ChunkId chunk = chunks.Create("Alt", 0);
    CDaoRecordset records(&db());
    records.Open(dbOpenTable, "CHUNKS", 0);
    records.SetCurrentIndex("CSysID_INDEX");
    COleVariant key(static_cast<std::int32_t>(chunk));
    ASSERT_TRUE(records.Seek("=", &key));
    CDaoRecord record(&records);

    CString name("Neu");
    EXPECT_EQ(record.PutField(chunk_field::UsrId, name), 0); // no Edit yet

    records.Edit();
    CString tooLong(std::string(300, 'x'));
    EXPECT_EQ(record.PutField(chunk_field::UsrId, tooLong), 0);
    COleVariant notANumber("zwölf");
    EXPECT_EQ(record.PutFieldTrace(chunk_field::DirId, notANumber), 0);
    EXPECT_EQ(record.PutField(chunk_field::UsrId, name), 1);
    EXPECT_EQ(record.SetBlobNULL(chunk_field::Picture), 1);
    EXPECT_EQ(record.PutField(chunk_field::ModifyDate, CTime(2001, 2, 3, 4, 5, 6)), 1);
    records.Update();

    EXPECT_EQ(chunks.Name(chunk), "Neu");
    EXPECT_EQ(chunks.Folder(chunk), 0u);
    COleDateTime modified;
    ASSERT_TRUE(records.Seek("=", &key));
    ASSERT_EQ(record.GetField(chunk_field::ModifyDate, modified), 1);
    EXPECT_EQ(modified, COleDateTime(2001, 2, 3, 4, 5, 6));
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
