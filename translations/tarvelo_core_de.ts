<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Chart</name>
    <message>
        <source>%1 without values in this period</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 change %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison from %1 to %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History of %1, no quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History of %1 from %2 to %3, latest %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History of %1 from %2 to %3, latest %4, change %5</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
