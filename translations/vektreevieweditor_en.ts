<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>TFileDropImport</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TFindAllPane</name>
    <message numerus="yes">
        <source>%1 match(es)</source>
        <translation>
            <numerusform>%1 match</numerusform>
            <numerusform>%1 matches</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 item(s)</source>
        <translation>
            <numerusform>%1 item</numerusform>
            <numerusform>%1 items</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TGoToItemPopup</name>
    <message numerus="yes">
        <source>%n matches so far</source>
        <translation>
            <numerusform>%n match so far</numerusform>
            <numerusform>%n matches so far</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n matches</source>
        <translation>
            <numerusform>%n match</numerusform>
            <numerusform>%n matches</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TItemCommands</name>
    <message numerus="yes">
        <source>Update %n links to %1?</source>
        <translation>
            <numerusform>Update %n links to %1?</numerusform>
            <numerusform>Update %n links to %1?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TTreeFilter</name>
    <message numerus="yes">
        <source>%n item(s) match</source>
        <translation>
            <numerusform>%n item matches</numerusform>
            <numerusform>%n items match</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>trdtool</name>
    <message numerus="yes">
        <source>%1 items, protected</source>
        <translation>
            <numerusform>%1 item, protected</numerusform>
            <numerusform>%1 items, protected</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 items, current variant</source>
        <translation>
            <numerusform>%1 item, current variant</numerusform>
            <numerusform>%1 items, current variant</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 items, old variant</source>
        <translation>
            <numerusform>%1 item, old variant</numerusform>
            <numerusform>%1 items, old variant</numerusform>
        </translation>
    </message>
</context>
</TS>
