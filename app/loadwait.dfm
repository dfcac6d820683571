object FormLoadwait: TFormLoadwait
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize, biHelp]
  BorderStyle = bsNone
  Caption = 'Loading . . .'
  ClientHeight = 89
  ClientWidth = 298
  Color = clBtnFace
  Cursor = crHourGlass
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -14
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnCreate = FormCreate
  PixelsPerInch = 120
  TextHeight = 16
  object pkImageForm1: TpkImageForm
    Left = 0
    Top = 0
    Width = 298
    Height = 89
    Align = alClient
    AutoSize = True
    DragTolerance = 5
  end
end
