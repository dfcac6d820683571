object FormMain: TFormMain
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'FormMain'
  ClientHeight = 387
  ClientWidth = 581
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -10
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object pkImageForm1: TpkImageForm
    Left = 0
    Top = 0
    Width = 581
    Height = 387
    Align = alClient
    AutoSize = True
    DragTolerance = 5
  end
  object pkPanel1: TpkPanel
    Left = 319
    Top = 260
    Width = 88
    Height = 80
    AutoSize = True
    BevelOuter = bvNone
    Transparent = True
    object pkImageBtn3: TpkImageBtn
      Left = 0
      Top = 0
      Width = 88
      Height = 20
      Visible = False
      TransparentColor = clWhite
      OnClick = pkImageBtn3Click
    end
    object pkImageBtn4: TpkImageBtn
      Left = 0
      Top = 30
      Width = 88
      Height = 20
      Visible = False
      TransparentColor = clWhite
      OnClick = pkImageBtn4Click
    end
    object pkImageBtn5: TpkImageBtn
      Left = 0
      Top = 60
      Width = 88
      Height = 20
      Visible = False
      TransparentColor = clWhite
      OnClick = pkImageBtn5Click
    end
  end
  object pkImageBtnExit: TpkImageBtn
    Left = 77
    Top = 345
    Width = 21
    Height = 19
    Hint = 'Exit'
    ShowHint = True
    TransparentColor = clWhite
    OnClick = pkImageBtnExitClick
  end
  object pkImageBtn2: TpkImageBtn
    Left = 53
    Top = 198
    Width = 79
    Height = 19
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clBlack
    Font.Height = -9
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TransparentColor = clWhite
    OnClick = pkImageBtn2Click
  end
  object pkImageBtnMin: TpkImageBtn
    Left = 48
    Top = 345
    Width = 21
    Height = 19
    Hint = 'Minimize'
    ShowHint = True
    TransparentColor = clWhite
    OnClick = pkImageBtnMinClick
  end
  object pkImager1: TpkImager
    Left = 288
    Top = 88
    Width = 124
    Height = 162
    AutoSize = True
    DrawStyle = dsNormal
    PreProcess = True
    Transparent = True
    TransparentColor = clLime
  end
  object pkImageBtn1: TpkImageBtn
    Left = 46
    Top = 120
    Width = 79
    Height = 19
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -9
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    TextOptions.Alignment = taCenter
    TextOptions.VAlignment = vaVCenter
    TransparentColor = clBlack
    OnClick = pkImageBtn1Click
  end
  object KxLabel1: TKxLabel
    Left = 46
    Top = 98
    Caption = 'Please Select Product Model:'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -9
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object KxLabel2: TKxLabel
    Left = 39
    Top = 182
    Caption = 'Please Select Your Language:'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -9
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
  end
  object KxURLLabel1: TKxURLLabel
    Left = 293
    Top = 345
    Width = 138
    Height = 16
    Caption = 'http://www.perivane.example/'
    Font.Charset = ANSI_CHARSET
    Font.Color = clNavy
    Font.Height = -15
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsUnderline]
    ParentFont = False
    Transparent = True
    OnClick = KxURLLabel1Click
    FlyByColor = clBlue
    FlyByEnabled = True
    ShadowDepth = 1
    URL = 'http://www.perivane.example/'
    UnvisitedColor = clNavy
  end
  object BtnUpdate: TButton
    Left = 13
    Top = 7
    Width = 46
    Height = 20
    Caption = 'Update'
    TabOrder = 0
    Visible = False
    OnClick = BtnUpdateClick
  end
  object KxListBoxP: TKxListBox
    Left = 46
    Top = 139
    Width = 120
    Height = 128
    Constraints.MaxHeight = 200
    Constraints.MinHeight = 100
    Constraints.MinWidth = 120
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -15
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ItemHeight = 16
    Items.Strings = (
      'Product')
    ParentFont = False
    TabOrder = 1
    Visible = False
    OnClick = KxListBoxPClick
    OnMouseLeave = KxListBoxPClick
  end
  object KxCheckListL: TKxCheckList
    Left = 53
    Top = 217
    Width = 120
    Height = 128
    Constraints.MaxHeight = 200
    Constraints.MinHeight = 100
    Constraints.MinWidth = 120
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -15
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ItemHeight = 18
    Items.Strings = (
      '//Language')
    Items.ItemEnabled = (
      True)
    Items.ItemState = (
      0)
    ParentFont = False
    TabOrder = 2
    UseCustomGlyphs = True
    Visible = False
    OnClick = KxCheckListLClick
    OnDrawItem = KxCheckListLDrawItem
    OnMouseLeave = KxCheckListLClick
  end
  object KxBalloonHints1: TKxBalloonHints
    Alignment = taCenter
    Bitmaps.TransparentColor = clOlive
    CaptionWidth = 100
    Color = clInfoBk
    Corner = hcLowerLeft
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    HintPause = 500
    Shadow = True
  end
  object KxVersionInfo1: TKxVersionInfo
  end
end
