#!/usr/bin/env python3
"""Writes the small workbooks that tst_workbook and workbook_oracle.py read.

    make_edge_workbooks.py [FOLDER]      (default: the folder of this script)

Without a FOLDER it also writes the seeds of the workbook fuzzer, in
tests/fuzz/corpus/workbook.

Edge cases a clinic's spreadsheet may hold: dates in both date systems,
logical cells, shared, inline and rich strings, formulas with cached values,
repeated rows and columns, a million trailing empty rows, several sheets and
a chart sheet; and files that must fail: a damaged archive, a missing sheet
part, a part that inflates far beyond its size, a ZIP that is no workbook,
an OLE file. The .xlsx are written part by part, so that every construct is
exactly as chosen; one more is written by openpyxl, and the .ods by odfpy
(python3-openpyxl, python3-odf). The output is the same on every run.
"""
import io
import os
import sys
import zipfile

from odf.opendocument import OpenDocumentSpreadsheet
from odf.office import Annotation
from odf.table import (CoveredTableCell, Table, TableCell, TableColumn, TableHeaderRows,
                       TableRow, TableRowGroup)
from odf.text import A, LineBreak, P, S, Span, Tab
import openpyxl

STAMP = (2024, 1, 1, 0, 0, 0)
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL = "http://schemas.openxmlformats.org/package/2006/relationships"
SHEET_TYPE = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"
CHART_TYPE = "application/vnd.openxmlformats-officedocument.spreadsheetml.chartsheet+xml"

STYLES = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<styleSheet xmlns="{MAIN}">
<numFmts count="4">
<numFmt numFmtId="164" formatCode="DD.MM.YY"/>
<numFmt numFmtId="165" formatCode="[$-419]D\\ MMMM\\ YYYY"/>
<numFmt numFmtId="166" formatCode="[h]:mm"/>
<numFmt numFmtId="167" formatCode="0&quot; days&quot;"/>
</numFmts>
<fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts>
<fills count="1"><fill><patternFill patternType="none"/></fill></fills>
<borders count="1"><border/></borders>
<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>
<cellXfs count="7">
<xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>
<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>
<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>
<xf numFmtId="165" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>
<xf numFmtId="166" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>
<xf numFmtId="167" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>
<xf numFmtId="2" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>
</cellXfs>
</styleSheet>
"""

# Plain, rich (runs) and with a phonetic guide, which is no part of the text.
SHARED = [
    "<si><t>Имя</t></si>",
    "<si><r><t>Да</t></r><r><rPr><b/></rPr><t>та</t></r></si>",
    "<si><t>d1</t><rPh sb=\"0\" eb=\"1\"><t>ディー</t></rPh></si>",
    "<si><t>Иванов И.И.</t></si>",
    "<si><t xml:space=\"preserve\"> два\nабзаца </t></si>",
    "<si><t></t></si>",
]

JOURNAL = """<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>\
<c r="C1" t="s"><v>2</v></c><c r="D1" t="inlineStr"><is><r><t>Ко</t></r><r><t>жух</t></r></is></c></row>
<row r="2"><c r="A2" t="s"><v>3</v></c><c r="B2" s="1"><v>45352</v></c>\
<c r="C2"><v>1.4500000000000002</v></c><c r="D2" t="b"><v>1</v></c><c r="E2" t="e"><v>#N/A</v></c>\
<c r="F2"><f>1+1</f><v>2</v></c><c r="G2" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>\
<c r="H2" s="5"><v>3</v></c><c r="I2" s="4"><v>0.5</v></c></row>
<row><c t="inlineStr"><is><t>Петров</t></is></c><c s="2"><v>45000.75</v></c><c><v>2E-3</v></c>\
<c t="b"><v>0</v></c><c t="s"><v>4</v></c></row>
<row r="4"><c r="A4" s="1"/><c r="B4" t="s"><v>5</v></c><c r="C4"><f>A4</f></c></row>
<row r="6"><c r="A6"><v>-0.1</v></c><c r="B6" t="d" s="1"><v>2024-02-29T00:00:00</v></c>\
<c r="C6"><v>123456789012345678</v></c><c r="D6" s="6"><v>12.50</v></c></row>
<row r="7"><c r="A7"><v>1E-20</v></c><c r="B7" s="1"><v>59</v></c><c r="C7" s="1"><v>61</v></c>\
<c r="D7" s="3"><v>1</v></c><c r="F7"><v>7</v></c></row>"""

YEAR = """<row r="1"><c r="A1" t="inlineStr"><is><t>год</t></is></c><c r="B1"><v>2025</v></c></row>
<row r="3"><c r="B3" s="1"><v>45658</v></c></row>"""

DATES_1904 = """<row r="1"><c r="A1" s="1"><v>1</v></c><c r="B1" s="2"><v>43000</v></c>\
<c r="C1"><v>43000</v></c><c r="D1" t="b"><v>1</v></c></row>"""


# A log's header and one case, in inline strings and numbers.
LOG_SHARED = ["<si><t>10-12</t></si>", "<si><t>нет</t></si>", "<si><t>да</t></si>"]
HEADER_ROW = "<row r=\"1\">" + "".join(
    f'<c r="{c}1" t="inlineStr"><is><t>{name}</t></is></c>'
    for c, name in zip("ABCDEF", ("d1", "d2", "d3", "sheath", "stricture", "placed"))) + "</row>"
CASE_ROW = ('<row r="{r}"><c r="A{r}"><v>1.{r}</v></c><c r="B{r}"><v>1.6</v></c>'
            '<c r="C{r}"><v>2</v></c><c r="D{r}" t="s"><v>0</v></c>'
            '<c r="E{r}" t="s"><v>1</v></c><c r="F{r}" t="s"><v>2</v></c></row>')


def worksheet(rows, dimension="A1"):
    return (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            f'<worksheet xmlns="{MAIN}" xmlns:r="{REL}"><dimension ref="{dimension}"/>'
            f"<sheetData>{rows}</sheetData></worksheet>")


def chartsheet():
    return (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            f'<chartsheet xmlns="{MAIN}" xmlns:r="{REL}"><sheetViews>'
            f'<sheetView workbookViewId="0"/></sheetViews></chartsheet>')


def write_zip(path, entries):
    """Entries (name, bytes or text) in order, deflated, with a fixed time stamp."""
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, STAMP)
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data.encode("utf-8") if isinstance(data, str) else data)


def write_xlsx(path, sheets, date1904=False, shared=SHARED, leave_out=()):
    """sheets: (name, kind, xml) with kind "worksheet" or "chartsheet"."""
    overrides = [
        ("/xl/workbook.xml",
         "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"),
        ("/xl/styles.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"),
        ("/xl/sharedStrings.xml",
         "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"),
    ]
    parts, sheet_entries, relationships = [], [], []
    for number, (name, kind, xml) in enumerate(sheets, start=1):
        folder = "worksheets" if kind == "worksheet" else "chartsheets"
        part = f"{folder}/sheet{number}.xml"
        overrides.append((f"/xl/{part}", SHEET_TYPE if kind == "worksheet" else CHART_TYPE))
        # The first sheet's target is absolute, the others' relative to xl/.
        target = f"/xl/{part}" if number == 1 else part
        relationships.append(f'<Relationship Id="rId{number}" Type="{REL}/{kind}" Target="{target}"/>')
        sheet_entries.append(f'<sheet name="{name}" sheetId="{number}" r:id="rId{number}"/>')
        parts.append((f"xl/{part}", xml))
        if kind == "chartsheet":  # no drawing: relationships to nothing
            parts.append((f"xl/{folder}/_rels/sheet{number}.xml.rels",
                          f'<Relationships xmlns="{PKG_REL}"/>'))
    count = len(sheets)
    relationships.append(f'<Relationship Id="rId{count + 1}" Type="{REL}/styles" Target="styles.xml"/>')
    relationships.append(
        f'<Relationship Id="rId{count + 2}" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>')
    content_types = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        + "".join(f'<Override PartName="{p}" ContentType="{t}"/>' for p, t in overrides)
        + "</Types>")
    workbook = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                f'<workbook xmlns="{MAIN}" xmlns:r="{REL}">'
                f'<workbookPr date1904="{1 if date1904 else 0}"/>'
                f'<sheets>{"".join(sheet_entries)}</sheets></workbook>')
    shared_xml = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                  f'<sst xmlns="{MAIN}" count="{len(shared)}" uniqueCount="{len(shared)}">'
                  + "".join(shared) + "</sst>")
    entries = [
        ("[Content_Types].xml", content_types),
        ("_rels/.rels", f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                        f'<Relationships xmlns="{PKG_REL}"><Relationship Id="rId1" '
                        f'Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>'),
        ("xl/workbook.xml", workbook),
        ("xl/_rels/workbook.xml.rels", f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                                       f'<Relationships xmlns="{PKG_REL}">'
                                       + "".join(relationships) + "</Relationships>"),
        ("xl/styles.xml", STYLES),
        ("xl/sharedStrings.xml", shared_xml),
    ] + parts
    write_zip(path, [(name, data) for name, data in entries if name not in leave_out])


def write_openpyxl(path):
    """A log as openpyxl writes one: its own styles, dates as datetimes."""
    import datetime
    workbook = openpyxl.Workbook()
    sheet = workbook.active
    sheet.title = "2024"
    sheet.append(["Имя", "Дата", "d1", "d2", "d3", "Кожух", "Стриктура", "Установлен"])
    sheet.append(["Иванов", datetime.date(2024, 3, 1), 1.45, 1.995, 2.1, "10-12", False, True])
    sheet.append(["Петров", datetime.date(2024, 12, 31), 0.1 + 0.2, 2, 1.6, "12-14 Ch", True, False])
    sheet.append([None, None, None])
    sheet.append(["Сидоров", datetime.datetime(2024, 5, 6, 10, 30), 1.5e-7, 3.3e21, -4, "", None, True])
    second = workbook.create_sheet("2025")
    second.append(["Имя", "Дата"])
    second.append(["Кузнецов", datetime.date(2025, 1, 2)])
    stamp = datetime.datetime(2024, 1, 1)
    workbook.properties.created = stamp
    workbook.properties.modified = stamp
    workbook.save(path)


def odf_cell(value_type=None, repeat=None, paragraphs=(), **values):
    attributes = {}
    if value_type:
        attributes["valuetype"] = value_type
    if repeat:
        attributes["numbercolumnsrepeated"] = repeat
    attributes.update(values)
    cell = TableCell(**attributes)
    for paragraph in paragraphs:
        cell.addElement(paragraph)
    return cell


def odf_row(cells, repeat=None):
    row = TableRow(numberrowsrepeated=repeat) if repeat else TableRow()
    for cell in cells:
        row.addElement(cell)
    return row


def text_paragraph(*parts):
    paragraph = P()
    for part in parts:
        if isinstance(part, str):
            paragraph.addText(part)
        else:
            paragraph.addElement(part)
    return paragraph


def write_ods(path):
    document = OpenDocumentSpreadsheet()
    journal = Table(name="Журнал")
    journal.addElement(TableColumn(numbercolumnsrepeated=5))
    header = TableHeaderRows()
    header.addElement(odf_row([odf_cell("string", paragraphs=[P(text=t)]) for t in ("Имя", "Дата", "d1")]))
    journal.addElement(header)

    commented = odf_cell("float", value="2.5", paragraphs=[P(text="2,50")])
    commented.childNodes.insert(0, Annotation())
    commented.childNodes[0].addElement(P(text="комментарий"))
    commented.childNodes[0].parentNode = commented
    journal.addElement(odf_row([
        odf_cell("string", paragraphs=[P(text="Иванов"), P(text="И.И.")]),
        odf_cell("date", datevalue="2024-03-01", paragraphs=[P(text="01.03.24")]),
        odf_cell("float", value="1.4500000000000002", paragraphs=[P(text="1.45")]),
        odf_cell("boolean", booleanvalue="true", paragraphs=[P(text="ИСТИНА")]),
        odf_cell("percentage", value="0.25", paragraphs=[P(text="25%")]),
        odf_cell("currency", value="100.5", currency="RUB", paragraphs=[P(text="100,50 ₽")]),
        odf_cell("time", timevalue="PT12H00M00S", paragraphs=[P(text="12:00")]),
        odf_cell("string", paragraphs=[text_paragraph(
            "a", S(c=3), "b", Tab(), "c", LineBreak(), Span(text="span"),
            A(href="https://example.org", text=" link"))]),
        commented,
    ]))
    merged = odf_cell("string", numbercolumnsspanned=2, paragraphs=[P(text="слито")])
    journal.addElement(odf_row([merged, CoveredTableCell(), odf_cell("float", value="3")], repeat=3))
    journal.addElement(odf_row([odf_cell(repeat=4)], repeat=2))
    group = TableRowGroup()
    group.addElement(odf_row([
        odf_cell("float", repeat=3, value="7", paragraphs=[P(text="7")]),
        odf_cell(repeat=1000),
        odf_cell("boolean", booleanvalue="false", paragraphs=[P(text="ЛОЖЬ")]),
        odf_cell(repeat=16000),
    ]))
    journal.addElement(group)
    journal.addElement(odf_row([odf_cell(repeat=1024)], repeat=1048560))
    document.spreadsheet.addElement(journal)

    year = Table(name="2025")
    year.addElement(odf_row([odf_cell("string", paragraphs=[P(text="a")]),
                             odf_cell("float", value="2", paragraphs=[P(text="2")])]))
    document.spreadsheet.addElement(year)
    empty = Table(name="Пусто")
    empty.addElement(odf_row([odf_cell(repeat=1024)], repeat=1048576))
    document.spreadsheet.addElement(empty)
    document.save(path)


def restamp(path):
    """The archive rewritten with the fixed time stamp, each entry as it was stored."""
    with zipfile.ZipFile(path) as archive:
        entries = [(info, archive.read(info)) for info in archive.infolist()]
    with zipfile.ZipFile(path, "w") as archive:
        for old, data in entries:
            info = zipfile.ZipInfo(old.filename, STAMP)
            info.compress_type = old.compress_type
            archive.writestr(info, data)


def write_repeated_ods(path):
    """A row with content repeated beyond the sheet's last row: refused, as no row past it is shown."""
    document = OpenDocumentSpreadsheet()
    table = Table(name="Повтор")
    table.addElement(odf_row([odf_cell("string", paragraphs=[P(text="x")]), odf_cell(repeat=5)],
                             repeat=2000000))
    document.spreadsheet.addElement(table)
    document.save(path)


def damage(source, target):
    """The first sheet's deflated bytes changed in the middle: a damaged archive."""
    data = bytearray(open(source, "rb").read())
    with zipfile.ZipFile(source) as archive:
        info = archive.getinfo("xl/worksheets/sheet1.xml")
    start = info.header_offset + 30 + len(info.filename.encode()) + len(info.extra)
    middle = start + info.compress_size // 2
    for i in range(middle, middle + 8):
        data[i] ^= 0x5A
    open(target, "wb").write(bytes(data))


TINY_SHEET = """<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is><r><t>d</t></r>\
<r><t>1</t></r></is></c><c r="C1" t="b"><v>1</v></c></row><row><c s="1"><v>45352</v></c>\
<c><v>1.4500000000000002</v></c><c t="e"><v>#N/A</v></c><c t="str"><f>A1</f><v>x</v></c></row>"""

TINY_CONTENT = """<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" \
xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" \
xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet>\
<table:table table:name="A"><table:table-header-rows><table:table-row><table:table-cell \
office:value-type="string"><text:p>d<text:s text:c="2"/>1<text:line-break/></text:p></table:table-cell>\
</table:table-row></table:table-header-rows><table:table-row table:number-rows-repeated="3">\
<table:table-cell office:value-type="float" office:value="1.45" table:number-columns-repeated="2"/>\
<table:covered-table-cell/><table:table-cell office:value-type="date" office:date-value="2024-03-01"/>\
<table:table-cell office:value-type="boolean" office:boolean-value="true"/><table:table-cell \
office:value-type="time" office:time-value="PT12H30M00S"/></table:table-row><table:table-row \
table:number-rows-repeated="1048570"><table:table-cell table:number-columns-repeated="1024"/>\
</table:table-row></table:table></office:spreadsheet></office:body></office:document-content>"""


def write_seeds(folder, fixtures):
    """The fuzzer's seeds: small fixtures, and two workbooks stored without
    compression, whose XML the mutations reach directly."""
    import shutil
    os.makedirs(folder, exist_ok=True)
    for name in ("edge.xlsx", "dates1904.xlsx", "missing_sheet.xlsx", "damaged.xlsx",
                 "not_workbook.zip", "ole.xls"):
        shutil.copyfile(os.path.join(fixtures, name), os.path.join(folder, name))
    buffer = io.BytesIO()
    write_xlsx(buffer, [("A", "worksheet", worksheet(TINY_SHEET))], shared=SHARED[:2])
    with zipfile.ZipFile(io.BytesIO(buffer.getvalue())) as source:
        entries = [(name, source.read(name)) for name in source.namelist()
                   if name not in ("[Content_Types].xml", "_rels/.rels")]
    stored(os.path.join(folder, "stored.xlsx"), entries)
    stored(os.path.join(folder, "stored.ods"),
           [("mimetype", "application/vnd.oasis.opendocument.spreadsheet"),
            ("content.xml", TINY_CONTENT)])


def stored(path, entries):
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, STAMP)
            archive.writestr(info, data.encode("utf-8") if isinstance(data, str) else data)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    path = lambda name: os.path.join(folder, name)
    write_xlsx(path("edge.xlsx"), [("Журнал", "worksheet", worksheet(JOURNAL)),
                                   ("2025", "worksheet", worksheet(YEAR)),
                                   ("Диаграмма", "chartsheet", chartsheet())])
    write_xlsx(path("dates1904.xlsx"), [("1904", "worksheet", worksheet(DATES_1904))], date1904=True)
    # A dimension to the sheet's last row and a million <row> elements with no cell.
    million = '<row r="1"><c r="A1"><v>1</v></c></row>' + "<row/>" * 1048575
    write_xlsx(path("million_rows.xlsx"),
               [("Журнал", "worksheet", worksheet(million, "A1:I1048576"))])
    # Rows numbered past the sheet's last row, which a reader must not drop.
    past_end = HEADER_ROW + CASE_ROW.format(r=2) + CASE_ROW.format(r=1048577)
    write_xlsx(path("rows_past_end.xlsx"), [("Журнал", "worksheet", worksheet(past_end))],
               shared=LOG_SHARED)
    # A sheet and its backup copy: the cases must not count twice.
    cases = HEADER_ROW + "".join(CASE_ROW.format(r=r) for r in range(2, 9))
    write_xlsx(path("copied_sheet.xlsx"), [("Журнал", "worksheet", worksheet(cases)),
                                           ("Журнал (2)", "worksheet", worksheet(cases))],
               shared=LOG_SHARED)
    # A log of 3 MB inflated whose rows are all empty: a read stopped within it.
    long_sheet = HEADER_ROW + "<row><c/></row>" * 200000
    write_xlsx(path("long_sheet.xlsx"), [("Журнал", "worksheet", worksheet(long_sheet))],
               shared=LOG_SHARED)
    # Sixty sheets, each with half a header: a message of 120 lines, which must
    # not make the keeper's window grow past the screen.
    half_header = '<row r="1"><c r="A1" t="inlineStr"><is><t>d1</t></is></c></row>'
    write_xlsx(path("many_sheets.xlsx"),
               [(f"Лист{i}", "worksheet", worksheet(half_header)) for i in range(1, 61)])
    write_xlsx(path("missing_sheet.xlsx"), [("Журнал", "worksheet", worksheet(YEAR)),
                                            ("2025", "worksheet", worksheet(YEAR))],
               leave_out={"xl/worksheets/sheet2.xml"})
    # About 2.6 MB inflated from a few kilobytes; the test reads it with a small limit.
    bomb = "<row><c><v>1</v></c></row>" * 100000
    write_xlsx(path("bomb.xlsx"), [("Журнал", "worksheet", worksheet(bomb))])
    damage(path("edge.xlsx"), path("damaged.xlsx"))
    write_zip(path("not_workbook.zip"), [("readme.txt", "не книга\n")])
    open(path("ole.xls"), "wb").write(bytes.fromhex("d0cf11e0a1b11ae1") + bytes(504))
    write_openpyxl(path("openpyxl.xlsx"))
    write_ods(path("edge.ods"))
    write_repeated_ods(path("repeated_rows.ods"))
    for name in ("openpyxl.xlsx", "edge.ods", "repeated_rows.ods"):
        restamp(path(name))
    if len(sys.argv) <= 1:
        here = os.path.dirname(os.path.abspath(__file__))
        write_seeds(os.path.join(here, "..", "fuzz", "corpus", "workbook"), folder)


if __name__ == "__main__":
    main()
